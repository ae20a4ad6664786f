// Page files left behind by runs that never stored them (the program was killed, the machine
// stopped, or no folder would take the pages) are stored under automatic names in the folder
// they were scanned into, like any page, at the next start or the next run, whichever comes
// first. The notes of the run journal name those folders; a folder another process is
// acquiring into is left alone until that run is over. Pages half-written by the library when
// it was stopped are not pages: they are removed.
#pragma once

#include <QString>

class Program;

// Deals with every interrupted run the journal knows of, and with the page files of heldFolder
// (a folder the calling run holds the lock of; "" for none). Tells the user, one message per
// folder, which pages were stored. Returns how many pages were stored.
int recoverInterruptedRuns(Program& program, const QString& heldFolder = QString());
