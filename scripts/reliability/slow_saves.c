/* Preloaded into the programs of the kill test: every write to a file in the
 * working directory, and every flush and close of a stream open for writing
 * there (the C library writes a stream's buffer out with calls of its own),
 * first waits 0.1 s, so that a kill at a random moment lands inside a save
 * as often as before or after one. */
#define _GNU_SOURCE
#include <dlfcn.h>
#include <limits.h>
#include <stdio.h>
#include <stdio_ext.h>
#include <string.h>
#include <unistd.h>

static void waitIfSaving(int fd)
{
    char link[64], path[PATH_MAX], directory[PATH_MAX];
    snprintf(link, sizeof link, "/proc/self/fd/%d", fd);
    const ssize_t length = readlink(link, path, sizeof path - 1);
    if (length < 0 || !getcwd(directory, sizeof directory))
        return;
    path[length] = '\0';
    const size_t prefix = strlen(directory);
    if (strncmp(path, directory, prefix) == 0 && path[prefix] == '/' && !strchr(path + prefix + 1, '/'))
        usleep(100000);
}

ssize_t write(int fd, const void* data, size_t size)
{
    ssize_t (*next)(int, const void*, size_t) = dlsym(RTLD_NEXT, "write");
    waitIfSaving(fd);
    return next(fd, data, size);
}

int fflush(FILE* stream)
{
    int (*next)(FILE*) = dlsym(RTLD_NEXT, "fflush");
    if (stream && __fwritable(stream))
        waitIfSaving(fileno(stream));
    return next(stream);
}

int fclose(FILE* stream)
{
    int (*next)(FILE*) = dlsym(RTLD_NEXT, "fclose");
    if (__fwritable(stream))
        waitIfSaving(fileno(stream));
    return next(stream);
}
