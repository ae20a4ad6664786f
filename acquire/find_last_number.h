// FIND_LAST_NUMBER: the highest serial number among the acquisition folder's automatically
// named pictures and PDF documents, or the report that no automatic name is left.
#pragma once

#include <cstdint>

class Program;

// Clamps SCNN (in the settings themselves), lists ACQ_DIR and sets lastNumber to the highest
// number found (0 when there is none). Returns 0, or -1 when the first number beyond the plain
// range already exists: the user has then been told that no automatic name is left and
// lastNumber is unchanged.
int FIND_LAST_NUMBER(Program& program, int32_t& lastNumber);

// The last number a run starts after: NBNB - 1 in serial mode (NBMD set; never below -1, so that
// no number is negative), else what FIND_LAST_NUMBER finds. false when no automatic name is left
// (FIND_LAST_NUMBER has told the user).
bool STARTING_NUMBER(Program& program, int64_t& lastNumber);
