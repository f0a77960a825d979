#include "framework/graphics/images/soft_image.h"

#include <cstring>

#include "framework/core/life/fatal.h"
#include "framework/core/memory.h"
#include "framework/graphics/images/image_loader.h"

namespace qor {

namespace {

struct SoftImageState {
  HandleTable table;
  void* slots[kSoftImageHandleMax];
};

SoftImageState g_softImages = {{kSoftImageHandleTag, kSoftImageHandleMax, g_softImages.slots, 0, 0, 0}, {}};

HandleTable* Table() { return &g_softImages.table; }

uint8_t* PixelAt(const GraphImage* image, int32_t x, int32_t y) {
  return image->pixels + static_cast<int64_t>(y) * image->pitch + static_cast<int64_t>(x) * image->format.bytesPerPixel;
}

bool Inside(const GraphImage* image, int32_t x, int32_t y) {
  return image->pixels != nullptr && static_cast<uint32_t>(x) < static_cast<uint32_t>(image->width) &&
         static_cast<uint32_t>(y) < static_cast<uint32_t>(image->height);
}

void StorePixel(uint8_t* p, int bytes, uint32_t value) {
  if (bytes == 1) p[0] = static_cast<uint8_t>(value);
  if (bytes >= 2) std::memcpy(p, &value, 2);
  if (bytes >= 3) p[2] = static_cast<uint8_t>(value >> 16);
  if (bytes == 4) p[3] = static_cast<uint8_t>(value >> 24);
}

}  // namespace

void ResetSoftImages() {
  DeleteAllSoftImages();
  InitHandleTable(Table(), kSoftImageHandleTag, kSoftImageHandleMax, g_softImages.slots);
}

const HandleTable* SoftImageTable() { return Table(); }

int32_t AddSoftImage() {
  if (IsHandleTableFull(Table())) FatalError("ソフトイメージの数が許容量を越えました終了します");
  auto* record = static_cast<SoftImage*>(AllocMemoryZeroed(sizeof(SoftImage), __FILE__, __LINE__));
  if (record == nullptr) FatalError("メモリの確保に失敗しました");
  return AddHandleEntry(Table(), record);
}

SoftImage* LookupSoftImage(int32_t handle) { return static_cast<SoftImage*>(LookupHandleEntry(Table(), handle)); }

int ReleaseSoftImage(int32_t handle) {
  SoftImage* record = LookupSoftImage(handle);
  if (record == nullptr) return -1;
  FreeGraphImage(&record->image);
  RemoveHandleEntry(Table(), handle);
  FreeMemory(record);
  return 0;
}

int DeleteSoftImageHandle(int32_t handle) { return ReleaseSoftImage(handle); }

int DeleteAllSoftImages() {
  HandleTable* table = Table();
  for (int32_t slot = table->usedEnd - 1; slot >= 0; --slot) {
    const int32_t handle = HandleOfSlot(table, slot);
    if (handle != -1) ReleaseSoftImage(handle);
  }
  return 0;
}

int32_t CreateSoftImageFromFile(const char* fileName) {
  const int32_t handle = AddSoftImage();
  if (LoadImageFileToGraphImage(fileName, &LookupSoftImage(handle)->image, 0) != 0) {
    ReleaseSoftImage(handle);
    return -1;
  }
  return handle;
}

int FillGraphImage(GraphImage* image, int32_t r, int32_t g, int32_t b, int32_t a) {
  const int bytes = image->format.bytesPerPixel;
  if (bytes < 2 || bytes > 4 || image->pixels == nullptr) return 0;
  const uint32_t value = PackColorForFormat(&image->format, static_cast<uint32_t>(r), static_cast<uint32_t>(g),
                                            static_cast<uint32_t>(b), static_cast<uint32_t>(a));
  for (int32_t y = 0; y < image->height; ++y)
    for (int32_t x = 0; x < image->width; ++x) StorePixel(PixelAt(image, x, y), bytes, value);
  return 0;
}

int SetGraphImagePixel(GraphImage* image, int32_t x, int32_t y, int32_t r, int32_t g, int32_t b, int32_t a) {
  if (!Inside(image, x, y)) return -1;
  const int bytes = image->format.bytesPerPixel;
  if (bytes < 1 || bytes > 4) return -1;
  StorePixel(PixelAt(image, x, y), bytes,
             PackColorForFormat(&image->format, static_cast<uint32_t>(r), static_cast<uint32_t>(g),
                                static_cast<uint32_t>(b), static_cast<uint32_t>(a)));
  return 0;
}

int GetGraphImagePixel(const GraphImage* image, int32_t x, int32_t y, int32_t* r, int32_t* g, int32_t* b,
                       int32_t* a) {
  if (!Inside(image, x, y)) return -1;
  const int bytes = image->format.bytesPerPixel;
  if (bytes < 1 || bytes > 4) return -1;
  const uint8_t* p = PixelAt(image, x, y);
  uint32_t cr = 0, cg = 0, cb = 0, ca = 0;
  if (bytes == 1) {
    const PaletteEntry& e = image->format.palette[p[0]];
    cr = e.red;
    cg = e.green;
    cb = e.blue;
    ca = e.alpha;
  } else {
    uint32_t value = 0;
    std::memcpy(&value, p, static_cast<size_t>(bytes));
    UnpackColorFromFormat(&image->format, value, &cr, &cg, &cb, &ca);
  }
  if (r != nullptr) *r = static_cast<int32_t>(cr);
  if (g != nullptr) *g = static_cast<int32_t>(cg);
  if (b != nullptr) *b = static_cast<int32_t>(cb);
  if (a != nullptr) *a = static_cast<int32_t>(ca);
  return 0;
}

int GetDibConversionFlag() { return 0; }

}  // namespace qor
