#include "app/program.h"

int main(int argc, char **argv) {
    return wobblewickMain(argc, argv);
}
