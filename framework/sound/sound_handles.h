// Sound handles: the table of sound records, handle creation and checking,
// length queries, the creation mode and the deletion of every sound.
// Sound handles follow the framework's handle scheme and live in its shared
// handle table.
#pragma once

#include <cstdint>

#include "framework/sound/sound_records.h"

namespace qor {

// -1 takes a fresh slot; an earlier handle's value re-creates a record in
// that handle's empty slot with its check number. Returns the handle or -1.
int AddSoundData(int handle);

// The record of a live handle while sound is started, else null.
SoundData* GetSoundData(int handle);

// Frees a record and its slot; the used end walks down past empty slots.
void RemoveSoundData(int handle);

int GetSoundLengthSamples(int handle);
// Milliseconds from a count of units at a rate per second, truncated, and
// saturated at the largest int (a long sound at a very low rate passes it).
int UnitsToMs(double units, double perSecond);
int GetSoundLengthMs(int handle);

int SetSoundDataCreateMode(int mode);
int GetSoundDataCreateMode();

int DeleteAllSounds();

}  // namespace qor
