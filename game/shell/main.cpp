#include "shell/application.h"

int main() {
    run_application();
    return 0;
}
