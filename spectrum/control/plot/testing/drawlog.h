#pragma once
// The drawing calls of a picture as text, one line per record of a recording (an enhanced
// metafile made by a recording DC), for golden comparisons: what was drawn where, with which
// pens, brushes, fonts and colours, in device pixels of the recording's reference device.
//
//   bounds L,T,R,B                        the picture's bounds (inclusive), first
//   polyline N x,y x,y ...                polygon N ..., polypolygon P N
//   rectangle L,T,R,B                     ellipse, roundrect, arc, chord, pie likewise
//   pixel X,Y 0xBBGGRR
//   text X,Y "TEXT"                       the baseline start
//   pen H style=S width=W color=0xBBGGRR  brush H style=S color=... hatch=N
//   font H height=H escapement=E weight=W italic=I face=NAME
//   select H | select stock N | delete H
//   textcolor, bkcolor 0xBBGGRR; bkmode, textalign, rop2, polyfillmode N; brushorg X,Y
//   bitblt X,Y W,H rop=0x...              other records: record TYPE size N
// Colours are COLORREF values (0x0000C0 is red). A damaged record ends the log with "damaged".
#include <string>
#include <vector>

#include "platform/gdi/metafile.h"

namespace plot_testing {

std::vector<std::string> DescribeDrawing(const gdi::EnhMetaFile& picture);

}  // namespace plot_testing
