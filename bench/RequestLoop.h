#pragma once

// The bench tools under Wine answer one request a line on standard input,
// one reply a line on standard output, until "quit" or the end of input;
// bench/bench.py drives them. A request that fails answers "error: ...".

#include <iostream>
#include <sstream>
#include <string>

#include "platform/Failure.h"

namespace quenlix::bench {

template <typename Handler>
int ServeRequests(Handler& handler) {
    std::string line;
    while (std::getline(std::cin, line)) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line == "quit") break;
        std::istringstream request(line);
        std::string reply;
        try {
            reply = handler.Handle(request);
        } catch (const Failure& failure) {
            reply = "error: failure " + std::to_string(failure.Number());
        } catch (const std::exception& e) {
            reply = std::string("error: ") + e.what();
        }
        std::cout << reply << std::endl;
    }
    return 0;
}

}  // namespace quenlix::bench
