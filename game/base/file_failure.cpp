#include "base/file_failure.h"

#include "base/text_format.h"

bool report_file_failure(string message, string name) {
    print(message);
    print(name);
    print(str("\n"));
    return false;
}
