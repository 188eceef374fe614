// The engine binding: one function pointer per engine operation, bound by name from libzorbel_gl.so.
#pragma once

#include "zorbel_api.h"

#include <string>

// Each operation of the engine list becomes a global pointer of the same name: ZB_Init, SSprite_Draw, ...
#define ZORBEL_DECLARE_POINTER(ret, name, params, contract) extern ret(*name) params;
ZORBEL_OPERATIONS(ZORBEL_DECLARE_POINTER)
#undef ZORBEL_DECLARE_POINTER

namespace zorbel {

// The engine library beside the running program.
std::string DefaultLibraryPath();

// Loads the engine library and binds every operation. On failure (no library, or one built for another
// interface version) shows "Error while loading ZORBEL Engine" and returns false; the pointers stay inert.
// An operation the library lacks is named once on stderr and stays inert: calling it does nothing and
// returns zero.
bool Bind(const std::string& libraryPath = DefaultLibraryPath());

// Points every operation at its inert stand-in (the state before Bind; unit tests start from here).
void Unbind();

} // namespace zorbel
