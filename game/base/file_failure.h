// The one way a loader or saver reports a file it could not use: one line on standard output.
#pragma once

#include "base/strings.h"

// Prints the message, the file's name and a line feed; returns false so a loader can end with it.
bool report_file_failure(string message, string name);
