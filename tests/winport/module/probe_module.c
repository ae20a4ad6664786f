/* A tiny loadable module for the library-loading tests. */
#define PROBE_EXPORT __attribute__((visibility("default")))

static int calls;

PROBE_EXPORT int ProbeAnswer(void) {
    return 42;
}

/* Counts across calls, so that a test can tell whether the module stayed loaded. */
PROBE_EXPORT int ProbeCount(void) {
    return ++calls;
}
