// Sound start-up and shut-down. Framework start-up calls InitDirectSound in
// its sound step (a failure leaves the program silent: every sound call then
// returns -1) and shut-down calls EndTemporaryPlayback and then
// EndDirectSound.
#pragma once

namespace qor {

int InitDirectSound();
int EndDirectSound();
// Logs one entry of the device list; always goes on.
bool EnumSoundDriverCallback(const void* guid, const char* description, const char* module, void* context);
int FinishSoundCapture();

// The steps both start-up roads end with: the silence buffer, the module's
// defaults, the device report, and every sound deleted. 0.
int FinishSoundStartUp();
// Start-up through the music system (mode 1); falls back to the sound
// device alone when the music loader cannot be made.
int InitThroughDirectMusic();
// Stops and releases the music system's performance and loader, if held.
void ReleaseMusicSystem();

// Chooses the start-up road: 0 the sound device alone, 1 through the music
// system first (which falls back to 0 when it cannot start).
void SetDirectMusicMode(int mode);

// The message processing pass that play type 0 waits with (0 normally, -1
// once the program must quit). Start-up installs the framework's pump.
void SetSoundMessagePump(int (*pump)());

}  // namespace qor
