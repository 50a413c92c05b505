// Resource identifiers shared by Quenlix.rc and the C++ code that loads them.
// These are macros only because the resource compiler cannot read C++
// constants.
#ifndef QUENLIX_UI_RESOURCES_RESOURCEIDS_H
#define QUENLIX_UI_RESOURCES_RESOURCEIDS_H

// Explorer shows the icon group with the lowest ID as the program's icon, so
// nothing may ever get an ID below this one.
#define IDI_QUENLIX 1

// The dialog that asks for the name of a new group, and its controls.
#define IDD_GROUP_NAME 101
#define IDC_GROUP_NAME 1001
#define IDC_GROUP_NAME_NOTE 1002

#endif
