// A QPrinter whose output goes to a RecordingEngine. The engine stays the caller's and must
// outlive the printer (declare it first).
#pragma once

#include "recording_engine.h"

#include <QPrinter>

class RecordingPrinter : public QPrinter {
public:
    explicit RecordingPrinter(RecordingEngine& engine) { setEngines(&engine, &engine); }
};
