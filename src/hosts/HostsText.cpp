#include "hosts/HostsText.h"

namespace quenlix {

std::u16string ApplyLineRule(std::u16string_view fileText) {
    std::u16string text;
    // A lone CR grows by one character; an unterminated last line by two.
    text.reserve(fileText.size() + fileText.size() / 64 + 2);

    const std::size_t n = fileText.size();
    std::size_t i = 0;
    while (i < n) {
        // Copy the run up to the next CR in one go: lines are long, CRs rare.
        const std::size_t cr = fileText.find(u'\r', i);
        if (cr == std::u16string_view::npos) {
            text.append(fileText.substr(i));
            text.append(u"\r\n");  // the last line had no terminator
            return text;
        }
        text.append(fileText.substr(i, cr - i));
        text.append(u"\r\n");
        i = cr + 1;
        if (i < n && fileText[i] == u'\n') ++i;
    }
    return text;
}

const std::u16string_view DefaultHostsText =
    u"# Copyright (c) 1993-2021 Microsoft Corp.\r\n"
    u"#\r\n"
    u"# This is a sample HOSTS file used by Microsoft TCP/IP for Windows.\r\n"
    u"#\r\n"
    u"# This file contains the mappings of IP addresses to host names. Each\r\n"
    u"# entry should be kept on an individual line. The IP address should\r\n"
    u"# be placed in the first column followed by the corresponding host name.\r\n"
    u"# The IP address and the host name should be separated by at least one\r\n"
    u"# space.\r\n"
    u"#\r\n"
    u"# Additionally, comments (such as these) may be inserted on individual\r\n"
    u"# lines or following the machine name denoted by a '#' symbol.\r\n"
    u"#\r\n"
    u"# For example:\r\n"
    u"#\r\n"
    u"#      102.54.94.97     server.example.com      # source server\r\n"
    u"#       38.25.63.10     client.example.com      # x client host\r\n"
    u"\r\n"
    u"# localhost name resolution is handled within DNS itself.\r\n"
    u"#       127.0.0.1       localhost\r\n"
    u"#       ::1             localhost\r\n";

}  // namespace quenlix
