// Diagnostics: one line of text on standard output, written at once.
#pragma once

#include "base/strings.h"

void print(string text);
