// Placeholder until this part of the generator lands.
#include "artgen.h"

void artgen::GenerateScreens(const std::string&) {}
