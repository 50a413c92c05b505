// Resource identifiers shared by Quenlix.rc and the C++ code that loads them.
// These are macros only because the resource compiler cannot read C++
// constants.
#ifndef QUENLIX_UI_RESOURCES_RESOURCEIDS_H
#define QUENLIX_UI_RESOURCES_RESOURCEIDS_H

// Explorer shows the icon group with the lowest ID as the program's icon, so
// nothing may ever get an ID below this one.
#define IDI_QUENLIX 1

#endif
