#include "framework/graphics/graphs/graph_record.h"

#include <cstring>

#include "framework/core/life/fatal.h"
#include "framework/core/log.h"
#include "framework/core/memory.h"
#include "framework/core/string_helpers.h"
#include "framework/graphics/d3d/d3d_device.h"
#include "framework/graphics/graphs/graph_movie.h"
#include "framework/graphics/surfaces/surface_2d.h"
#include "framework/graphics/screen/screen_size.h"

namespace qor {

namespace {

GraphTablesState g_graphTables = {{kGraphHandleTag, kGraphHandleMax, g_graphTables.graphSlots, 0, 0, 0}, {}};

HandleTable* Graphs() { return &g_graphTables.graphs; }

// Copies at most `limit` bytes of whole Shift-JIS characters and terminates;
// 0 when the whole text fit, else -1.
int CopyNameBounded(char* destination, int limit, const char* source) {
  return CopyStringN(destination, static_cast<size_t>(limit) + 1, source);
}

}  // namespace

void ResetGraphTables() {
  HandleTable* table = Graphs();
  for (int32_t slot = 0; slot < table->usedEnd; ++slot) {
    if (table->slots[slot] != nullptr) FreeMemory(table->slots[slot]);
  }
  InitHandleTable(table, kGraphHandleTag, kGraphHandleMax, g_graphTables.graphSlots);
}

const HandleTable* GraphTable() { return Graphs(); }

int32_t AddGraphRecord(int32_t width, int32_t height, int32_t want3D, GraphRecord** outRecord, int32_t alpha,
                       uint8_t paletteSource, const GraphCreateSettings* settings) {
  HandleTable* table = Graphs();
  if (IsHandleTableFull(table)) FatalError("グラフィックの数が許容量を越えました終了します");
  auto* record = static_cast<GraphRecord*>(AllocMemoryZeroed(sizeof(GraphRecord), __FILE__, __LINE__));
  if (record == nullptr) FatalError("メモリの確保に失敗しました");
  int32_t handle = AddHandleEntry(table, record);

  record->handle = handle;
  record->width = width;
  record->height = height;
  record->movieHandle = -1;
  record->diedFlag = nullptr;

  bool is3D = want3D != 0 && settings->use3DGraphs != 0 && settings->direct3DInUse != 0 &&
              settings->softwareRendering == 0;
  record->is3D = is3D ? 1 : 0;
  record->textureOption = is3D ? static_cast<uint8_t>(settings->newGraphTextureOption) : 0;
  if (settings->newGraphDrawable == 0) {
    record->alpha = static_cast<uint8_t>(alpha);
    record->drawable = 0;
    record->alphaTest = static_cast<uint8_t>(settings->newGraphAlphaTest);
  } else {
    record->alpha = 0;
    record->alphaTest = 0;
    record->drawable = 1;
  }
  record->memImageOption = 0;

  int32_t screenBits = GetScreenColorBits();
  if (is3D) {
    if (settings->newGraphColorBits != 0) {
      record->colorBits = static_cast<uint8_t>(settings->newGraphColorBits);
    } else {
      record->colorBits = static_cast<uint8_t>(alpha == 1 ? 32 : screenBits);
    }
    record->systemMemory = 0;
    record->paletteSource = 0;
  } else {
    if (settings->newGraphColorBits != 0 && settings->directDrawUnusable == 0) {
      record->colorBits = static_cast<uint8_t>(settings->newGraphColorBits);
    } else {
      record->colorBits = static_cast<uint8_t>(screenBits);
    }
    record->systemMemory = static_cast<uint8_t>(settings->newGraphSystemMemory);
    record->paletteSource = paletteSource;
    record->textureOption = 0;
  }

  if (outRecord != nullptr) *outRecord = record;
  return handle;
}

GraphRecord* LookupGraph(int32_t handle) { return static_cast<GraphRecord*>(LookupHandleEntry(Graphs(), handle)); }

GraphRecord* LookupGraphRecord(int32_t handle) { return LookupGraph(handle); }

int IsGraphValid(int32_t handle) { return LookupGraph(handle) != nullptr ? 1 : 0; }

int RegisterGraphDiedFlag(int32_t handle, int32_t* flag) {
  GraphRecord* record = LookupGraph(handle);
  if (record == nullptr) return -1;
  record->diedFlag = flag;
  if (flag != nullptr) *flag = 0;
  return 0;
}

int DestroyGraph(int32_t handle, int32_t logDelete) {
  GraphRecord* record = LookupGraph(handle);
  if (record == nullptr) return -1;
  if (record->movieHandle != -1) CloseGraphMovie(record);
  if (logDelete != 0) LogPrintf("グラフィック %s の削除", record->fileName);
  if (record->is3D) {
    DeleteGraphPieces3D(record);
  } else {
    DeleteGraphSurfaces2D(record);
  }
  RemoveHandleEntry(Graphs(), handle);
  if (record->diedFlag != nullptr) *record->diedFlag = 1;
  FreeMemory(record);
  return 0;
}

int DestroyAllGraphs(int32_t logDelete) {
  HandleTable* table = Graphs();
  if (table->usedEnd < 1) return 0;
  for (int32_t slot = 0; slot < table->usedEnd; ++slot) {
    int32_t handle = HandleOfSlot(table, slot);
    if (handle != -1) DestroyGraph(handle, logDelete);
  }
  return 0;
}

int QueryTargetSize(int32_t target, int32_t* width, int32_t* height) {
  int32_t w, h;
  if (target == -4 || target == -2) {
    QueryScreenSize(&w, &h);
  } else {
    const GraphRecord* record = LookupGraph(target);
    if (record == nullptr) return -1;
    w = record->width;
    h = record->height;
  }
  if (width != nullptr) *width = w;
  if (height != nullptr) *height = h;
  return 0;
}

int SetGraphSourceNames(GraphRecord* record, const char* fileName, const char* loadDirectory) {
  int nameResult = CopyNameBounded(record->fileName, kGraphFileNameMax, fileName != nullptr ? fileName : "");
  int dirResult =
      CopyNameBounded(record->loadDirectory, kGraphLoadDirectoryMax, loadDirectory != nullptr ? loadDirectory : "");
  record->sourceNamesCut = (nameResult != 0 || dirResult != 0) ? 1 : 0;
  return record->sourceNamesCut ? -1 : 0;
}

int IsGraphReloadable(const GraphRecord* record) {
  return (record->fileName[0] != '\0' && record->sourceNamesCut == 0) ? 1 : 0;
}

}  // namespace qor
