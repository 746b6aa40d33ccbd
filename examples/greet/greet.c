#include <stdio.h>

#include "greet.h"

static int count;

void greet(const char *name)
{
    printf("Hello, %s!\n", name);
    ++count;
}

int greetings(void)
{
    return count;
}
