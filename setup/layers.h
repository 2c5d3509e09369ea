// Layers of a page: names, group names, used layers, the first layer of a
// loaded drawing and layer-pattern files.
#pragma once

#include <windows.h>

#include <cstddef>

#include "setup/layer_patterns.h"
#include "view/db_info.h"

// Layer to make current after a load: the lowest layer used by elements
// (group members included), or a lower layer that has a name; 0 when none.
int PickInitialInputLayer(DbHeader* db);
// Name of a layer of the active drawing into `name` (second buffer emptied);
// 0 for a layer outside 0-1023 or without an active view, else 1.
int GetLayerNameOfPage(int page, int layer, char* name, char* second);
// Sets a layer's name and its 11-byte group name and tells the tool panel;
// 0 for a layer outside 0-1023 or without an active view, else 1.
int SetLayerNameOfPage(int page, int layer, const char* name, const char* groupName);
// Marks the layers used by elements on the page (-1: every page) in
// `flags` (1024 bytes, 1 = used); the number of used layers.
int CollectUsedLayers(int ignored, unsigned char* flags, int page);
