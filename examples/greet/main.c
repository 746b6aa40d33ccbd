#include <stdio.h>

#include "greet.h"

int main(int argc, char **argv)
{
    int i;
    if (argc < 2) {
        greet("world");
    }
    for (i = 1; i < argc; ++i) {
        greet(argv[i]);
    }
    printf("%d greeting(s).\n", greetings());
    return 0;
}
