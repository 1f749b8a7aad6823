/* A C program on the painting engine's exports, as a panel control written in C calls them: only the
 * library's C header and its link name. Prints the buttons' window style. */
#include <ZuComponents.h>

#include <stdio.h>

int main(void) {
    printf("GetWStyle: %d\n", GetWStyle());
    return 0;
}
