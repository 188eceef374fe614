// Placeholder until this part of the generator lands.
#include "artgen.h"

void artgen::GenerateFont(const std::string&) {}
