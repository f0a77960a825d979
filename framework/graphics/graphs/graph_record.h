// Graph records: the record behind every graph handle, and the graph table.
#pragma once

#include <cstdint>

#include "framework/graphics/graphs/handle_table.h"

namespace qor {

constexpr int kGraphPieceMax = 64;
// The reload after device loss takes a graph only when its file name and load
// directory are at most this long; the fields hold exactly that much.
constexpr int kGraphFileNameMax = 64;
constexpr int kGraphLoadDirectoryMax = 128;

struct GraphRecord {
  uint32_t check;
  int32_t* diedFlag;        // caller-owned; 1 is written through it on deletion
  int32_t handle;
  uint8_t is3D;             // 1: made of Direct3D texture pieces, 0: of 2D pieces
  uint8_t alpha;
  uint8_t drawable;
  uint8_t systemMemory;
  uint8_t textureOption;
  uint8_t alphaTest;
  uint8_t colorBits;        // 8, 16 or 32
  uint8_t memImageOption;   // 1: the pixels are a one-channel 8-bit memory image
  uint8_t paletteSource;    // 1: made from an 8-bit palette image without alpha
  uint32_t sourceOption;
  int32_t pieceHandles[kGraphPieceMax];
  int32_t pieceCount;
  char fileName[kGraphFileNameMax + 1];             // empty when none
  char loadDirectory[kGraphLoadDirectoryMax + 1];
  uint8_t sourceNamesCut;   // 1: a name was longer than its field and is kept cut short
  int32_t sourceX;
  int32_t sourceY;
  int32_t width;
  int32_t height;
  int32_t movieHandle;      // -1 when none
  uint32_t restoreNeeded;
};

// The settings of the draw state and the screen that decide how a new graph
// is made.
struct GraphCreateSettings {
  int32_t newGraphColorBits;  // 0 = screen depth
  int32_t use3DGraphs;
  int32_t newGraphDrawable;
  int32_t newGraphAlphaTest;
  int32_t newGraphSystemMemory;
  int32_t newGraphTextureOption;
  int32_t direct3DInUse;
  int32_t softwareRendering;
  int32_t directDrawUnusable;
};

struct GraphTablesState {
  HandleTable graphs;
  void* graphSlots[kGraphHandleMax];
};

// Empties the graph table (freeing any record still held) to its load state.
void ResetGraphTables();
const HandleTable* GraphTable();

// Makes a graph record (no pieces yet) and returns its handle. A full table
// or a failed allocation ends the program.
int32_t AddGraphRecord(int32_t width, int32_t height, int32_t want3D, GraphRecord** outRecord, int32_t alpha,
                       uint8_t paletteSource, const GraphCreateSettings* settings);

GraphRecord* LookupGraph(int32_t handle);
GraphRecord* LookupGraphRecord(int32_t handle);
int IsGraphValid(int32_t handle);
int RegisterGraphDiedFlag(int32_t handle, int32_t* flag);

// Deletes the graph: its movie (when the graph feeds from it), its pieces
// and the record (logging its file name when asked). 0, or -1 for a bad
// handle.
int DestroyGraph(int32_t handle, int32_t logDelete);
int DestroyAllGraphs(int32_t logDelete);

// Width and height of a graph, or of the screen for -4 (front) and -2
// (back); either pointer may be null. 0, or -1 for a bad handle.
int QueryTargetSize(int32_t target, int32_t* width, int32_t* height);

// Keeps the file name and load directory a graph's picture came from. Names
// longer than their fields are kept cut short (whole characters only) and
// mark the record; 0 when both fit, else -1.
int SetGraphSourceNames(GraphRecord* record, const char* fileName, const char* loadDirectory);

// The reload rule after device loss: 1 when the graph has a file name and
// both names were kept whole, else 0.
int IsGraphReloadable(const GraphRecord* record);

}  // namespace qor
