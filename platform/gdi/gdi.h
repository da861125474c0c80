#pragma once
// Drawing for the product: device contexts, GDI objects, surfaces and pictures.
#include "platform/gdi/dc.h"
#include "platform/gdi/metafile.h"
#include "platform/gdi/objects.h"
#include "platform/gdi/surface.h"
#include "platform/gdi/types.h"
