// Tarn, the transform library: the math and vertex pipeline the character
// renderer poses and draws people with.
//
// How the pieces meet:
//   TarnMath.h     angles in turns, 3x3 rotations, quaternions, packed
//                  angle words, vector batches;
//   TarnInt64.h    64-bit arithmetic on pairs of 32-bit words;
//   TarnPipeline.h the batch transform: state setters, TarnTransformVertices
//                  and the projection;
//   TarnClip.h     outcodes, the clipper and primitive submission;
//   TarnSystem.h   copy and fill, pages, threads, events, locks;
//   TarnPrint.h    debug channels and devices, the text screen, assertion
//                  and the fatal report;
//   Transform.h    the shared 4x4 transform, bounding box and quaternion
//                  interpolation the renderers use.
// The library links only platform/; it runs on the drawing thread and its
// pipeline state is module-wide.
#pragma once

#include "tarn/TarnClip.h"
#include "tarn/TarnInt64.h"
#include "tarn/TarnMath.h"
#include "tarn/TarnPipeline.h"
#include "tarn/TarnPrint.h"
#include "tarn/TarnSystem.h"
#include "tarn/Transform.h"
