#ifndef GREET_H
#define GREET_H

/* Writes a greeting for name to standard output. */
void greet(const char* name);

/* The number of greetings written so far. */
int greetings(void);

#endif
