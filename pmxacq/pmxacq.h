/*
 * PMXACQ: the acquisition library. Every call is one complete TWAIN conversation: it loads the
 * data source manager, opens a source, acquires, and tears everything down again before it
 * returns. Pages arrive as image handles (packed DIBs in movable global memory, see pelmix.h) or
 * as BMP page files named "<base>.<three-digit counter>".
 *
 * One acquisition at a time per process; the calls are not re-entrant and must not be made from
 * inside a page callback.
 */
#ifndef ORVANA_PMXACQ_H
#define ORVANA_PMXACQ_H

#include "winport.h"

#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
#define PMXACQ_EXTERN_C extern "C"
#else
#define PMXACQ_EXTERN_C
#endif

#ifdef _WIN32
#define PMXACQ_API PMXACQ_EXTERN_C __declspec(dllexport)
#define PMXACQ_CALL __stdcall
#else
#define PMXACQ_API PMXACQ_EXTERN_C __attribute__((visibility("default")))
#define PMXACQ_CALL
#endif

/* Pixel types of the records. */
#define PMXACQ_BW 0
#define PMXACQ_GRAY 1
#define PMXACQ_RGB 2
#define PMXACQ_PALETTE 3

/* Result codes written into the records. */
#define PMXACQ_OK 0
#define PMXACQ_LOWMEMORY 1
#define PMXACQ_BADCAP 2
#define PMXACQ_BADVALUE 3
#define PMXACQ_FAILED 4
#define PMXACQ_CANCELLED 5

/* The record of PelmixScan and PelmixScanEasy: 28 bytes. Frame in inches. */
typedef struct ScanInfo {
    int16_t pixelType;
    int16_t reserved0;
    float frameLeft;
    float frameTop;
    float frameRight;
    float frameBottom;
    float resolution; /* dots per inch, both axes */
    int32_t result;   /* out */
} ScanInfo;

/*
 * The record of PelmixScanExec. The fields up to offset 50 have fixed offsets on every system;
 * the two text pointers take the pointer's size at natural alignment (80 bytes in all on 64-bit
 * systems, 68 on 32-bit ones).
 */
typedef struct ScanExecParam {
    int16_t pixelType;
    int16_t reserved0;
    float frameLeft;
    float frameTop;
    float frameRight;
    float frameBottom;
    float resolution;   /* negative is stored back as 0; 0 keeps the source's own settings */
    int16_t bitDepth;   /* corrected for the pixel type */
    int16_t brightness; /* -1000..1000, else 0 */
    int16_t contrast;   /* -1000..1000, else 0 */
    int16_t reserved1;
    float gamma;
    int16_t highlight; /* 0..255, else 255 */
    int16_t threshold; /* 0..255, else 128 */
    int16_t shadow;    /* 0..255, else 0 */
    int16_t reserved2;
    int32_t indicators; /* show progress indicators */
    int16_t feeder;     /* 1 use the document feeder; other than 0 or 1: refused */
    int16_t reserved3;
    const char* baseName;   /* page files; null or "" writes none; too long for a 256-byte
                               name with ".000": refused, result 3 */
    const char* sourceName; /* null: current source; "": default source; else that source */
    int16_t mode;           /* 0 UI, stays open; 1 UI, one batch; 2 no UI, one batch */
    int16_t reserved4;
    int32_t result; /* out */
} ScanExecParam;

#ifdef __cplusplus
static_assert(sizeof(ScanInfo) == 28, "ScanInfo");
static_assert(offsetof(ScanInfo, frameLeft) == 4, "ScanInfo.frameLeft");
static_assert(offsetof(ScanInfo, resolution) == 20, "ScanInfo.resolution");
static_assert(offsetof(ScanInfo, result) == 24, "ScanInfo.result");
static_assert(offsetof(ScanExecParam, frameLeft) == 4, "ScanExecParam.frameLeft");
static_assert(offsetof(ScanExecParam, frameBottom) == 16, "ScanExecParam.frameBottom");
static_assert(offsetof(ScanExecParam, resolution) == 20, "ScanExecParam.resolution");
static_assert(offsetof(ScanExecParam, bitDepth) == 24, "ScanExecParam.bitDepth");
static_assert(offsetof(ScanExecParam, brightness) == 26, "ScanExecParam.brightness");
static_assert(offsetof(ScanExecParam, contrast) == 28, "ScanExecParam.contrast");
static_assert(offsetof(ScanExecParam, gamma) == 32, "ScanExecParam.gamma");
static_assert(offsetof(ScanExecParam, highlight) == 36, "ScanExecParam.highlight");
static_assert(offsetof(ScanExecParam, threshold) == 38, "ScanExecParam.threshold");
static_assert(offsetof(ScanExecParam, shadow) == 40, "ScanExecParam.shadow");
static_assert(offsetof(ScanExecParam, indicators) == 44, "ScanExecParam.indicators");
static_assert(offsetof(ScanExecParam, feeder) == 48, "ScanExecParam.feeder");
static_assert(offsetof(ScanExecParam, baseName) == (sizeof(void*) == 8 ? 56 : 52), "baseName");
static_assert(offsetof(ScanExecParam, sourceName) == (sizeof(void*) == 8 ? 64 : 56), "sourceName");
static_assert(offsetof(ScanExecParam, mode) == (sizeof(void*) == 8 ? 72 : 60), "mode");
static_assert(offsetof(ScanExecParam, result) == (sizeof(void*) == 8 ? 76 : 64), "result");
static_assert(sizeof(ScanExecParam) == (sizeof(void*) == 8 ? 80 : 68), "ScanExecParam");
#endif

/*
 * Called for every page of PelmixScanExec: the address of the page's image handle (owned by the
 * library, released after the call: read or copy it, never free it), the address of the page
 * counter (counting this page) and the address of a stop flag, 0 on entry; set it non-zero to end
 * the batch.
 */
typedef void(PMXACQ_CALL* ScanPageProc)(HGLOBAL* image, int32_t* pageCounter, int32_t* stop);

/* Shows the manager's source chooser; 1 when the user chose a source. */
PMXACQ_API int32_t PMXACQ_CALL PelmixScanSelect(HWND window);
/* The length of the text PelmixScanList writes, without terminator; 0 on failure. */
PMXACQ_API int32_t PMXACQ_CALL PelmixScanListLen(HWND window);
/* Writes "default,first,second,…," and its terminator into buffer (PelmixScanListLen + 1 bytes,
 * never more); 1 when the sources could be enumerated, 0 otherwise or for a null buffer. */
PMXACQ_API int32_t PMXACQ_CALL PelmixScanList(HWND window, char* buffer);
/* One image from the default source with its own user interface; 0 on failure. */
PMXACQ_API HGLOBAL PMXACQ_CALL PelmixScan(HWND window, ScanInfo* info);
/* One image from the default source without its user interface, with the record's settings. */
PMXACQ_API HGLOBAL PMXACQ_CALL PelmixScanEasy(HWND window, ScanInfo* info);
/* A batch with the record's settings; returns the number of images delivered. */
PMXACQ_API int32_t PMXACQ_CALL PelmixScanExec(HWND window, ScanExecParam* param,
                                              ScanPageProc callback);
/* Every page from the default source, with its user interface, into page files
 * "<baseName>.000", "<baseName>.001", …; returns the number of page files written. A base name
 * that leaves no room for ".000" in a 256-byte name is refused (0, nothing acquired). */
PMXACQ_API int32_t PMXACQ_CALL PelmixScanMulti(HWND window, const char* baseName);

#endif /* ORVANA_PMXACQ_H */
