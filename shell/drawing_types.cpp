#include "shell/drawing_types.h"

#include <windows.h>

#include "base/dbcs.h"

int DrawingTypeFromExtension(const char* path) {
  if (!path) return 0;
  const char* dot = DbcsFindLastChar(path, '.');
  if (!dot) return 0;
  // A dot in a folder name is no extension.
  const char* slash = DbcsFindLastChar(path, '\\');
  if (slash && slash > dot) return 0;
  static const struct {
    const char* ext;
    int type;
  } kinds[] = {{".otcf", 1}, {".DXF", 4},  {".JWC", 5},  {".JWK", 5},  {".DWG", 7},
               {".TIF", 8},  {".tcf", 12}, {".SFC", 13}, {".P21", 13}, {".JWW", 15},
               {".PDF", 16}};
  for (const auto& k : kinds)
    if (lstrcmpiA(dot, k.ext) == 0) return k.type;
  return 0;
}
