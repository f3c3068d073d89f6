#include "app/shell.h"

int main(int argc, char** argv) { return vortel::runShell(argc, argv); }
