// The framework's public entry table: everything the game may call. Each
// entry forwards to the framework operation that does the work, with its
// arguments and result unchanged. Entries are added here as the operations
// behind them are built.
#pragma once

#include <cstdint>

namespace qor {

struct PixelFormatInfo;
struct GraphImage;

// The framework's life; these three take the API lock.
int InitFramework();          // 0 or -1
int EndFramework();           // 0
int ProcessFrameMessages();   // 0, or -1 once the program must quit

// Window.
int IsWindowedModePublic();                    // 1 windowed, 0 full screen
int SwitchWindowModePublic(int windowed);      // before start-up only stores the mode
int ApplyWindowTitlePublic(const char* text);  // CP932
int SetDoubleLaunchPolicyPublic(int policy);   // 1 allows a second running copy

// Log and archives.
int SetLogFileOutputPublic(int on);
int SetArchiveExtensionPublic(const char* text);
int SetArchiveKeyPublic(const char* text);

// Time and input.
uint32_t GetNowMillisPublic();
int SleepMillisPublic(int ms);        // 0; waits on the host's clock
int SleepUntilNearMillisPublic(uint32_t tick);  // 0; wakes just before the millisecond clock reads tick
int QueryKeyPressedPublic(int code);   // 1 when the DirectInput key number is held
int ReadPadInputBitsPublic(int value); // pad number from 1, optionally | 0x1000 for mapped keys

// Images.
int MakeFormatFromMasksPublic(PixelFormatInfo* format, int32_t bitDepth, uint32_t red, uint32_t green,
                              uint32_t blue, uint32_t alpha);
int AllocGraphImagePixelsPublic(int32_t width, int32_t height, GraphImage* image);
int FreeGraphImagePublic(GraphImage* image);

// Screen and drawing.
int SetVSyncOnPresentPublic(int on);
int GetScreenPixelMasksPublic(uint32_t* red, uint32_t* green, uint32_t* blue, uint32_t* alpha);
int PackColorRGBPublic(int r, int g, int b);  // a pixel value of the screen
int BuildDirectDrawPixelFormatPublic(void* format, int32_t bits, uint32_t red, uint32_t green, uint32_t blue,
                                     uint32_t alpha);  // format: a plat::DDPixelFormat
int PresentFramePublic();
int RequestScreenModePublic(int width, int height, int bits, int rate);  // 0, -2 (640 x 480 x 16) or -1
int EraseDrawTargetPublic();
int ChooseDrawModePublic(int mode);
int SelectBlendPublic(int mode, int parameter);  // modes 0..11
int SetTintRGBPublic(int r, int g, int b);
int SelectDrawTargetPublic(int target);  // -4 front, -2 back, or a drawable graph
int SetKeyColorRGBPublic(int r, int g, int b);

// Graphs. Handles are -1 on failure; a handle of -1 simply draws nothing.
int CreateBlankGraphPublic(int width, int height, int no3D);
int DestroyGraphPublic(int graph);
int OpenGraphFilePublic(const char* path, int no3D);  // CP932 path; loose files or archives, any letter case
// Cuts the picture into pieces of width x height, row by row; handles[count].
int OpenDividedGraphPublic(const char* path, int count, int xCount, int yCount, int width, int height,
                           int* handles, int no3D);
int BlitGraphPublic(int x, int y, int graph, int transparent);
// Centred on (x, y), scaled and turned by `angle` radians; turn mirrors.
int BlitGraphRotatedIntPublic(int x, int y, double scale, double angle, int graph, int transparent, int turn);
int BlitGraphMirroredPublic(int x, int y, int graph, int transparent);
int BlitGraphPartPublic(int x, int y, int sourceX, int sourceY, int width, int height, int graph, int transparent,
                        int mirror);
int PaintBoxPublic(int x1, int y1, int x2, int y2, int color, int fill);  // color: PackColorRGBPublic's value
// Copies (x1, y1)-(x2, y2) of the draw target into a graph of that size.
int CaptureScreenToGraphPublic(int x1, int y1, int x2, int y2, int graph, int flag);

// Soft images: pictures kept only to read their pixels.
int CreateSoftImageFromFilePublic(const char* path);  // handle or -1
int DeleteAllSoftImagesPublic();
int DeleteSoftImageHandlePublic(int handle);
// Channels 0-255 (any pointer may be null); -1 for a bad handle or a pixel outside.
int GetSoftImagePixel(int handle, int x, int y, int* r, int* g, int* b, int* a);

// Sound.
int LoadSoundFilePublic(const char* path, int bufferCount, int shareWith);  // handle or -1
int DeleteSoundPublic(int handle, int flag);
int PlaySoundHandlePublic(int handle, int playType, int restart);
int StopSoundPublic(int handle);

}  // namespace qor
