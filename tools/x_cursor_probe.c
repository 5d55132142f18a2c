/* Prints the X pointer's image whenever it changes, for a number of 20 ms ticks: one line per
 * change, "WIDTHxHEIGHT HASH". The hourglass test reads it: which cursor the user really sees,
 * not the one the program believes it has set. */
#include <X11/Xlib.h>
#include <X11/extensions/Xfixes.h>
#include <stdio.h>
#include <stdlib.h>
#include <unistd.h>

int main(int argc, char** argv) {
    Display* d = XOpenDisplay(NULL);
    if (!d) return 2;
    const int ticks = argc > 1 ? atoi(argv[1]) : 100;
    unsigned long last = 0;
    for (int i = 0; i < ticks; ++i) {
        XFixesCursorImage* img = XFixesGetCursorImage(d);
        if (img) {
            unsigned long h = 1469598103934665603UL; /* FNV-1a over the pixels */
            for (int k = 0; k < img->width * img->height; ++k) h = (h ^ img->pixels[k]) * 1099511628211UL;
            if (h != last) {
                printf("%dx%d %lx\n", img->width, img->height, h);
                fflush(stdout);
                last = h;
            }
            XFree(img);
        }
        usleep(20000);
    }
    XCloseDisplay(d);
    return 0;
}
