// DrawParam (the block every painter fills for the CAD library) and the
// view's RenderSurface are the library's records, declared once in its
// header; the views fill them field by field.
#pragma once

#include "cadlib/WmCadApiDb.h"
