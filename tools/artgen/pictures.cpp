// Placeholder until this part of the generator lands.
#include "artgen.h"

void artgen::GeneratePictures(const std::string&) {}
