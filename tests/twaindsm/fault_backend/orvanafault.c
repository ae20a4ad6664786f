/* A SANE backend of the tests' own that fails the way real drivers fail, chosen by device name:
 * "hang-read" delivers one page, then blocks in sane_read for good; "crash-start" delivers one
 * page, then crashes in sane_start; "ignore-cancel" blocks in its first sane_read and takes no
 * notice of sane_cancel. "duplex" has the sources "Flatbed", "ADF Front" and "ADF Duplex"; its
 * feeder holds "sheets" sheets (an option, 3 at first) and gives, duplex, front 1, back 1,
 * front 2 …, every pixel of a page saying which it is: 16 x sheet, plus 8 on a back, plus its
 * "brightness" option (-100..100, 0 at first). With its "blank-backs" option on, pages are
 * paper instead: white, a front with a black block in its middle, a back blank. Every device
 * gives 64 x 48 grey pages. Loaded through SANE's dll backend (a dll.conf naming "orvanafault",
 * the library found by LD_LIBRARY_PATH). */
#include <sane/sane.h>
#include <signal.h>
#include <stdlib.h>
#include <string.h>
#include <unistd.h>

#define EXPORT __attribute__((visibility("default")))

enum { WIDTH = 64, HEIGHT = 48 };

enum { DEVICES = 4, DUPLEX = 3 };

typedef struct {
    int kind; /* 0 hang-read, 1 crash-start, 2 ignore-cancel, 3 duplex */
    int starts;
    int sent;
    int scanning;
    int source; /* an index of kSources */
    int fed;    /* pages the feeder gave in this batch */
    int value;  /* every pixel of the page being read */
    int sheets; /* in the feeder */
    int brightness;
    int blankBacks;
    int front; /* the page being read is a front */
} Device;

static const char* const kNames[] = {"hang-read", "crash-start", "ignore-cancel", "duplex"};
static SANE_String_Const kSources[] = {"Flatbed", "ADF Front", "ADF Duplex", NULL};
static SANE_Device kDevices[DEVICES];
static const SANE_Device* kList[DEVICES + 1];
static SANE_Option_Descriptor kCount;
static SANE_Option_Descriptor kSource;
static SANE_Option_Descriptor kSheets;
static const SANE_Range kSheetRange = {1, 50, 1};
static SANE_Option_Descriptor kBrightness;
static const SANE_Range kBrightnessRange = {-100, 100, 1};
static SANE_Option_Descriptor kBlankBacks;

static void forever(void) {
    for (;;) {
        pause();
    }
}

EXPORT SANE_Status sane_orvanafault_init(SANE_Int* version, SANE_Auth_Callback authorize) {
    (void)authorize;
    if (version != NULL) {
        *version = SANE_VERSION_CODE(1, 0, 0);
    }
    for (int i = 0; i < DEVICES; ++i) {
        kDevices[i].name = kNames[i];
        kDevices[i].vendor = "Fault";
        kDevices[i].model = "";
        kDevices[i].type = "virtual device";
        kList[i] = &kDevices[i];
    }
    kList[DEVICES] = NULL;
    kCount.name = "";
    kCount.title = "Number of options";
    kCount.desc = "";
    kCount.type = SANE_TYPE_INT;
    kCount.unit = SANE_UNIT_NONE;
    kCount.size = sizeof(SANE_Word);
    kCount.cap = SANE_CAP_SOFT_DETECT;
    kCount.constraint_type = SANE_CONSTRAINT_NONE;
    kSource.name = "source";
    kSource.title = "Scan source";
    kSource.desc = "Selects the scan source (such as a document-feeder).";
    kSource.type = SANE_TYPE_STRING;
    kSource.unit = SANE_UNIT_NONE;
    kSource.size = 16;
    kSource.cap = SANE_CAP_SOFT_SELECT | SANE_CAP_SOFT_DETECT;
    kSource.constraint_type = SANE_CONSTRAINT_STRING_LIST;
    kSource.constraint.string_list = kSources;
    kSheets.name = "sheets";
    kSheets.title = "Sheets in the feeder";
    kSheets.desc = "";
    kSheets.type = SANE_TYPE_INT;
    kSheets.unit = SANE_UNIT_NONE;
    kSheets.size = sizeof(SANE_Word);
    kSheets.cap = SANE_CAP_SOFT_SELECT | SANE_CAP_SOFT_DETECT;
    kSheets.constraint_type = SANE_CONSTRAINT_RANGE;
    kSheets.constraint.range = &kSheetRange;
    kBrightness = kSheets;
    kBrightness.name = "brightness";
    kBrightness.title = "Brightness";
    kBrightness.unit = SANE_UNIT_PERCENT;
    kBrightness.constraint.range = &kBrightnessRange;
    kBlankBacks = kSheets;
    kBlankBacks.name = "blank-backs";
    kBlankBacks.title = "Paper with blank backs";
    kBlankBacks.type = SANE_TYPE_BOOL;
    kBlankBacks.unit = SANE_UNIT_NONE;
    kBlankBacks.constraint_type = SANE_CONSTRAINT_NONE;
    return SANE_STATUS_GOOD;
}

EXPORT void sane_orvanafault_exit(void) {}

EXPORT SANE_Status sane_orvanafault_get_devices(const SANE_Device*** list, SANE_Bool local) {
    (void)local;
    *list = kList;
    return SANE_STATUS_GOOD;
}

EXPORT SANE_Status sane_orvanafault_open(SANE_String_Const name, SANE_Handle* handle) {
    for (int i = 0; i < DEVICES; ++i) {
        if (name != NULL && strcmp(name, kNames[i]) == 0) {
            Device* device = calloc(1, sizeof *device);
            if (device == NULL) {
                return SANE_STATUS_NO_MEM;
            }
            device->kind = i;
            device->sheets = 3;
            *handle = device;
            return SANE_STATUS_GOOD;
        }
    }
    return SANE_STATUS_INVAL;
}

EXPORT void sane_orvanafault_close(SANE_Handle handle) {
    free(handle);
}

EXPORT const SANE_Option_Descriptor* sane_orvanafault_get_option_descriptor(SANE_Handle handle,
                                                                            SANE_Int option) {
    const Device* device = handle;
    if (option == 0) {
        return &kCount;
    }
    if (device->kind != DUPLEX) {
        return NULL;
    }
    return option == 1   ? &kSource
           : option == 2 ? &kSheets
           : option == 3 ? &kBrightness
           : option == 4 ? &kBlankBacks
                         : NULL;
}

EXPORT SANE_Status sane_orvanafault_control_option(SANE_Handle handle, SANE_Int option,
                                                   SANE_Action action, void* value,
                                                   SANE_Int* info) {
    Device* device = handle;
    if (info != NULL) {
        *info = 0;
    }
    if (option == 0 && action == SANE_ACTION_GET_VALUE && value != NULL) {
        *(SANE_Word*)value = device->kind == DUPLEX ? 5 : 1;
        return SANE_STATUS_GOOD;
    }
    if (device->kind != DUPLEX || value == NULL || option < 1 || option > 4) {
        return SANE_STATUS_INVAL;
    }
    if (option == 4) {
        if (action == SANE_ACTION_GET_VALUE) {
            *(SANE_Word*)value = device->blankBacks;
            return SANE_STATUS_GOOD;
        }
        if (action != SANE_ACTION_SET_VALUE) {
            return SANE_STATUS_INVAL;
        }
        device->blankBacks = *(SANE_Word*)value != 0;
        return SANE_STATUS_GOOD;
    }
    if (option >= 2) {
        int* held = option == 2 ? &device->sheets : &device->brightness;
        const SANE_Range* range = option == 2 ? &kSheetRange : &kBrightnessRange;
        if (action == SANE_ACTION_GET_VALUE) {
            *(SANE_Word*)value = *held;
            return SANE_STATUS_GOOD;
        }
        const SANE_Word wanted = *(SANE_Word*)value;
        if (action != SANE_ACTION_SET_VALUE || wanted < range->min || wanted > range->max) {
            return SANE_STATUS_INVAL;
        }
        *held = wanted;
        return SANE_STATUS_GOOD;
    }
    if (action == SANE_ACTION_GET_VALUE) {
        strcpy(value, kSources[device->source]);
        return SANE_STATUS_GOOD;
    }
    for (int i = 0; action == SANE_ACTION_SET_VALUE && kSources[i] != NULL; ++i) {
        if (strcmp(value, kSources[i]) == 0) {
            device->source = i;
            device->fed = 0;
            return SANE_STATUS_GOOD;
        }
    }
    return SANE_STATUS_INVAL;
}

EXPORT SANE_Status sane_orvanafault_get_parameters(SANE_Handle handle, SANE_Parameters* p) {
    (void)handle;
    p->format = SANE_FRAME_GRAY;
    p->last_frame = SANE_TRUE;
    p->bytes_per_line = WIDTH;
    p->pixels_per_line = WIDTH;
    p->lines = HEIGHT;
    p->depth = 8;
    return SANE_STATUS_GOOD;
}

EXPORT SANE_Status sane_orvanafault_start(SANE_Handle handle) {
    Device* device = handle;
    if (++device->starts > 1 && device->kind == 1) {
        raise(SIGSEGV);
    }
    device->sent = 0;
    device->front = 1;
    device->value = 0x80 + (device->kind == DUPLEX ? device->brightness : 0);
    if (device->kind == DUPLEX && device->source > 0) {
        const int sides = device->source == 2 ? 2 : 1;
        if (device->fed >= device->sheets * sides) {
            device->fed = 0; /* the next batch finds the feeder loaded again */
            return SANE_STATUS_NO_DOCS;
        }
        device->front = !(sides == 2 && device->fed % 2);
        device->value = 16 * (device->fed / sides + 1) + (device->front ? 0 : 8) +
                        device->brightness;
        ++device->fed;
    }
    device->scanning = 1;
    return SANE_STATUS_GOOD;
}

EXPORT SANE_Status sane_orvanafault_read(SANE_Handle handle, SANE_Byte* data, SANE_Int most,
                                         SANE_Int* length) {
    Device* device = handle;
    *length = 0;
    if ((device->kind == 0 && device->starts > 1) || device->kind == 2) {
        forever();
    }
    if (!device->scanning) {
        return SANE_STATUS_CANCELLED;
    }
    const int left = WIDTH * HEIGHT - device->sent;
    if (left == 0) {
        device->scanning = 0;
        return SANE_STATUS_EOF;
    }
    const int n = left < most ? left : most;
    if (device->blankBacks) {
        for (int i = 0; i < n; ++i) {
            const int x = (device->sent + i) % WIDTH;
            const int y = (device->sent + i) / WIDTH;
            const int block = x >= WIDTH / 4 && x < 3 * WIDTH / 4 && y >= HEIGHT / 4 &&
                              y < 3 * HEIGHT / 4;
            data[i] = device->front && block ? 0 : 255;
        }
    } else {
        memset(data, device->value, (size_t)n);
    }
    device->sent += n;
    *length = n;
    return SANE_STATUS_GOOD;
}

EXPORT void sane_orvanafault_cancel(SANE_Handle handle) {
    Device* device = handle;
    device->scanning = 0;
}

EXPORT SANE_Status sane_orvanafault_set_io_mode(SANE_Handle handle, SANE_Bool non_blocking) {
    (void)handle;
    return non_blocking ? SANE_STATUS_UNSUPPORTED : SANE_STATUS_GOOD;
}

EXPORT SANE_Status sane_orvanafault_get_select_fd(SANE_Handle handle, SANE_Int* fd) {
    (void)handle;
    (void)fd;
    return SANE_STATUS_UNSUPPORTED;
}
