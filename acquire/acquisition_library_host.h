// What the acquisition library needs of the running program while its calls run: the Qt event
// loop as winport's message pump, and message boxes shown through the Prompter.
#pragma once

#include "prompter.h"
#include "winport.h"

// Registers the pump, the wake function and the message-box handler for the calling thread.
void registerAcquisitionHost(Prompter& prompter);

// A MessageBoxA request as a Prompter message (buttons from MB_TYPEMASK, icon from MB_ICONMASK,
// default button from MB_DEFMASK), and a Prompter answer as the MessageBoxA result.
Prompter::Message messageFromBox(const char* text, const char* caption, UINT type);
int boxResult(int answer, UINT type);
