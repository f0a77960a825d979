// Playing, stopping, asking about and deleting a loaded sound.
#pragma once

namespace qor {

// Play type 0 plays and waits until the sound has ended (or the program is
// quitting); 3 loops in the background; any other value plays once in the
// background. Restart 1 starts from the beginning, stopping the buffer if it
// still plays; 0 leaves a buffer that still plays alone.
int PlaySoundHandle(int handle, int playType, int restart);
int StopSound(int handle);
// 1 while any buffer of the sound plays, 0 when none does, -1 on a bad handle.
int IsSoundPlaying(int handle);
int GetSoundPositionMs(int handle);
// Stops the sound and frees it and its handle. The flag is unused.
int DeleteSound(int handle, int flag = 0);
int EndTemporaryPlayback();

}  // namespace qor
