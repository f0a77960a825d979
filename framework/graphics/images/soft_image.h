// Soft images: decoded pictures kept in memory under a handle so a program
// can read their pixels (the game reads each stage's layout picture this
// way), and the one-pixel and whole-image access on any GraphImage.
#pragma once

#include <cstdint>

#include "framework/graphics/graphs/graph_image.h"
#include "framework/graphics/graphs/handle_table.h"

namespace qor {

struct SoftImage {
  uint32_t check;  // first, as every handle-table record
  GraphImage image;
};

// Frees every soft image and empties the table (program-load state).
void ResetSoftImages();
const HandleTable* SoftImageTable();

// A new empty soft image's handle; a full table or a failed allocation ends
// the program.
int32_t AddSoftImage();
SoftImage* LookupSoftImage(int32_t handle);
int ReleaseSoftImage(int32_t handle);
int DeleteSoftImageHandle(int32_t handle);
int DeleteAllSoftImages();
// The handle of a soft image holding the file's picture, or -1.
int32_t CreateSoftImageFromFile(const char* fileName);

int FillGraphImage(GraphImage* image, int32_t r, int32_t g, int32_t b, int32_t a);
// -1 when (x, y) lies outside the image, else 0.
int SetGraphImagePixel(GraphImage* image, int32_t x, int32_t y, int32_t r, int32_t g, int32_t b, int32_t a);
// Channels 0-255; any pointer may be null. -1 outside the image, else 0.
int GetGraphImagePixel(const GraphImage* image, int32_t x, int32_t y, int32_t* r, int32_t* g, int32_t* b,
                       int32_t* a);

// The framework's DIB-conversion option word: nothing sets it.
int GetDibConversionFlag();

}  // namespace qor
