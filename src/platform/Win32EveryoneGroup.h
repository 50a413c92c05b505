#pragma once

#include <string>

namespace quenlix {

// The name the system gives the group Everyone (the well-known S-1-1-0) in
// its own language, looked up through advapi32 bound from the system folder.
// Where the lookup fails it is "Everyone", the name of an English system:
// cacls takes a group by its name only (the "*S-1-1-0" form is icacls's).
// Fails only when advapi32 cannot be bound.
std::u16string EveryoneGroupName();

}  // namespace quenlix
