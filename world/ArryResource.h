// The 'Arry' resource: one layer array as stored in a house file.
//
//   offset 0  i16 0 (current format)   offset 2  i16 0
//   offset 4  i32 rows                 offset 8  i32 columns
//   offset 12 i32 cell size            offset 16 i32 compressed (0 or 1)
//   offset 20 the cell area, raw or run-length coded
//
// All integers little-endian. The run-length code is a chain of packets over
// the cell area's bytes: a 16-bit word, bit 15 set for a repeat packet, bits
// 0-14 the length (at most 32767); a repeat packet carries one byte, a
// literal packet its bytes; a zero byte pads the stream to an even position
// after each packet. Runs of 8 or more equal bytes become repeat packets.
//
// Older files hold a raw layout instead, told apart by a non-zero first word:
// i16 cell size, i16 rows, i16 columns, 2 reserved bytes, rows x 4 ignored
// bytes, then the cell area.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "resfile/TypeCode.h"

class _c2DArray;
class iResFile;

constexpr ResType kArryType = TypeCode("Arry");

constexpr size_t kArryHeaderBytes = 20;
constexpr uint32_t kArryMaxPacket = 32767;

// Appends the packets for n bytes to out; the pad rule uses out's size as the
// stream position.
void ArryEncodeRuns(const uint8_t* cells, size_t n, std::vector<uint8_t>& out);

// Decodes packets from data[pos..size) until n cells are filled. False when a
// packet would run past the cells or past the data.
bool ArryDecodeRuns(const uint8_t* data, size_t size, size_t& pos, uint8_t* cells, size_t n);

// The whole resource for an array.
std::vector<uint8_t> EncodeArryResource(const _c2DArray& array, bool compress);

// Reads a resource into the array. An array that already has dimensions only
// takes a resource of exactly its rows, columns and cell size; an array
// without dimensions is sized from the resource. On any failure the array is
// left as it was and the result is kResBadData (-1); 0 on success.
int32_t DecodeArryResource(const uint8_t* data, size_t size, _c2DArray& into);

// Decodes a resource of exactly shape's rows, columns and cell size into
// cells (shape.CellAreaBytes() of them) without touching shape. 0 on success;
// on failure cells hold no meaning.
int32_t DecodeArryCells(const uint8_t* data, size_t size, const _c2DArray& shape, uint8_t* cells);

// The same for the resource type/id read from file.
int32_t LoadArryCells(iResFile& file, uint32_t type, int16_t id, const _c2DArray& shape, uint8_t* cells);
