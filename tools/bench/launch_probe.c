/* Loaded into the real game (LD_PRELOAD) by the frame benchmark: notes the
 * moment the first picture is swapped onto the screen (the title page) and,
 * some title-page frames later, the peak resident memory, writes both to the
 * file named by ORBITOR_PROBE_OUT and ends the process. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <stdio.h>
#include <stdlib.h>
#include <string.h>
#include <time.h>
#include <unistd.h>

typedef struct GLFWwindow GLFWwindow;

enum { menuFrames = 30 };

static long peakResidentKilobytes(void)
{
    FILE* status = fopen("/proc/self/status", "r");
    char line[256];
    long kb = -1;
    if (!status)
        return -1;
    while (fgets(line, sizeof line, status))
        if (strncmp(line, "VmHWM:", 6) == 0)
            kb = strtol(line + 6, NULL, 10);
    fclose(status);
    return kb;
}

void glfwSwapBuffers(GLFWwindow* window)
{
    static void (*real)(GLFWwindow*) = NULL;
    static int swaps = 0;
    static struct timespec first;
    if (!real)
        real = (void (*)(GLFWwindow*))dlsym(RTLD_NEXT, "glfwSwapBuffers");
    real(window);
    if (++swaps == 1)
        clock_gettime(CLOCK_MONOTONIC, &first);
    if (swaps < menuFrames)
        return;
    const char* path = getenv("ORBITOR_PROBE_OUT");
    FILE* out = path ? fopen(path, "w") : NULL;
    if (out) {
        fprintf(out, "first_swap %lld\nrss %ld\n", (long long)first.tv_sec * 1000000000LL + first.tv_nsec,
                peakResidentKilobytes());
        fclose(out);
    }
    _exit(0);
}
