// The road of image files (TIFF): a drawing made from a scanned image by the
// raster module, and the image that belongs to a drawing of the same name.
#pragma once

#include <windows.h>

#include <string>

// 1 when "dwgin.ini" (data folder 7) asks, in [TIFF] LINKLOAD, for the
// image and the drawing of one name to be read together.
int ReadTiffLinkOption();
// Loads the image that belongs to a drawing (its name with "tif" after the
// last dot) through the raster module, after asking unless `force`; 0 only
// when the module cannot be run.
int LoadLinkedTiffImage(const char* drawingFileName, int force);
// A new drawing from an image file: a drawing window named after the image,
// the image placed by the raster module, the paper chosen to hold it. 0
// when no window could be made, else 1.
int ImportTiffDrawing(HWND mainFrame, const char* imageFileName);
// Runs the image module (command 7805) on a file; 0 when it cannot be run.
int RunImageModule(const char* fileName);
// The open road of an image file (kind 8): with its linked drawing, or as a
// new drawing. The open road's result.
int OpenTiffImageRoad(HWND mainFrame, const char* fileName);

// The name a drawing made from `imageFileName` takes: its ".tcf" sibling,
// or, when a file of that name exists, the first free "name(n).tcf"; empty
// when none is free. A drawing never takes the name of a file it could
// overwrite.
std::string TiffDrawingName(const char* imageFileName);
