// houseview: the lot's picture. Sprites (objects, floors, walls, terrain) are
// composed into a 16-bit colour buffer with a 16-bit depth buffer beside it,
// so that people drawn by the 3D device sort with them by depth, not by the
// order they were drawn in. The pieces meet like this:
//   - pixel formats, blend and shade tables, lighting settings and the light
//     map give every draw its colour arithmetic;
//   - palettes, the sprite cache and its channel decoders read the sprite
//     resources of object and pattern files;
//   - the sprite draws, blitters and the people device put pixels and depth
//     into the view's buffers;
//   - the house viewer owns the buffers, the geometry and the per-frame pass.
// Everything here lives in namespace tova.
#pragma once

namespace tova {}
