#include "world/ArryResource.h"

#include <algorithm>
#include <cstring>
#include <memory>
#include <new>

#include "resfile/MappedResFile.h"
#include "resfile/MemHandle.h"
#include "resfile/ResStatus.h"
#include "resfile/iResFile.h"
#include "world/c2DArray.h"

namespace {

// An unsized array is never grown beyond this from a file.
constexpr int64_t kMaxDimension = 4096;
constexpr int64_t kMaxCellArea = 64LL * 1024 * 1024;
constexpr uint32_t kMinRepeatRun = 8;

void PutU16(std::vector<uint8_t>& out, uint16_t v) {
    out.push_back(static_cast<uint8_t>(v));
    out.push_back(static_cast<uint8_t>(v >> 8));
}
void PutI32(std::vector<uint8_t>& out, int32_t v) {
    const uint32_t u = static_cast<uint32_t>(v);
    for (int i = 0; i < 4; ++i) out.push_back(static_cast<uint8_t>(u >> (8 * i)));
}
uint16_t GetU16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | (p[1] << 8)); }
int16_t GetI16(const uint8_t* p) { return static_cast<int16_t>(GetU16(p)); }
int32_t GetI32(const uint8_t* p) {
    return static_cast<int32_t>(static_cast<uint32_t>(p[0]) | (static_cast<uint32_t>(p[1]) << 8) |
                                (static_cast<uint32_t>(p[2]) << 16) | (static_cast<uint32_t>(p[3]) << 24));
}
void PadToEven(std::vector<uint8_t>& out) {
    if (out.size() & 1) out.push_back(0);
}

size_t RunAt(const uint8_t* cells, size_t n, size_t p) {
    size_t q = p + 1;
    while (q < n && cells[q] == cells[p]) ++q;
    return q - p;
}

// Checks the stored shape against the array and gives the cell area size.
bool ShapeFits(const _c2DArray& into, int64_t rows, int64_t columns, int64_t cellSize, size_t& area) {
    if (cellSize != into.CellSize() || rows <= 0 || columns <= 0) return false;
    if (into.Rows() > 0 && into.Columns() > 0) {
        if (rows != into.Rows() || columns != into.Columns()) return false;
    } else if (rows > kMaxDimension || columns > kMaxDimension || rows * columns * cellSize > kMaxCellArea) {
        return false;
    }
    area = static_cast<size_t>(rows * columns * cellSize);
    return true;
}

int32_t Commit(_c2DArray& into, int32_t rows, int32_t columns, const uint8_t* cells, size_t area) {
    if (!into.Resize(rows, columns)) return kResBadData;
    if (area != into.CellAreaBytes()) return kResBadData;
    if (area != 0) std::memcpy(into.Data(), cells, area);
    return kResOK;
}

// Checks a resource's header against the shape of `into` and decodes its cells
// into the buffer that cellsFor(area) hands out (null when none can be had).
template <typename CellsFor>
int32_t DecodeCells(const uint8_t* data, size_t size, const _c2DArray& into, int32_t& rowsOut, int32_t& columnsOut,
                    size_t& areaOut, CellsFor&& cellsFor) {
    if (data == nullptr || size < 2) return kResBadData;
    size_t area = 0;
    if (GetU16(data) != 0) {
        if (size < 8) return kResBadData;
        const int64_t cellSize = GetI16(data);
        const int64_t rows = GetI16(data + 2);
        const int64_t columns = GetI16(data + 4);
        if (!ShapeFits(into, rows, columns, cellSize, area)) return kResBadData;
        const size_t start = 8 + static_cast<size_t>(rows) * 4;
        if (start > size || size - start < area) return kResBadData;
        uint8_t* cells = cellsFor(area);
        if (cells == nullptr) return kResOutOfMemory;
        std::memcpy(cells, data + start, area);
        rowsOut = static_cast<int32_t>(rows);
        columnsOut = static_cast<int32_t>(columns);
        areaOut = area;
        return kResOK;
    }
    if (size < kArryHeaderBytes) return kResBadData;
    const int64_t rows = GetI32(data + 4);
    const int64_t columns = GetI32(data + 8);
    const int64_t cellSize = GetI32(data + 12);
    const int32_t compressed = GetI32(data + 16);
    if (!ShapeFits(into, rows, columns, cellSize, area)) return kResBadData;
    if (compressed == 0) {
        if (size - kArryHeaderBytes < area) return kResBadData;
        uint8_t* cells = cellsFor(area);
        if (cells == nullptr) return kResOutOfMemory;
        std::memcpy(cells, data + kArryHeaderBytes, area);
    } else if (compressed == 1) {
        uint8_t* cells = cellsFor(area);
        if (cells == nullptr) return kResOutOfMemory;
        size_t pos = kArryHeaderBytes;
        if (!ArryDecodeRuns(data, size, pos, cells, area)) return kResBadData;
    } else {
        return kResBadData;
    }
    rowsOut = static_cast<int32_t>(rows);
    columnsOut = static_cast<int32_t>(columns);
    areaOut = area;
    return kResOK;
}

}  // namespace

void ArryEncodeRuns(const uint8_t* cells, size_t n, std::vector<uint8_t>& out) {
    size_t cur = 0;
    while (cur < n) {
        // Find the first run of 8 or more equal bytes from here on.
        size_t p = cur;
        size_t run = 0;
        while (p < n) {
            run = RunAt(cells, n, p);
            if (run >= kMinRepeatRun) break;
            p += run;
        }
        if (p == cur && p < n) {
            const size_t len = std::min<size_t>(run, kArryMaxPacket);
            PutU16(out, static_cast<uint16_t>(0x8000 | len));
            out.push_back(cells[cur]);
            cur += len;
        } else {
            const size_t len = std::min<size_t>(p - cur, kArryMaxPacket);
            PutU16(out, static_cast<uint16_t>(len));
            out.insert(out.end(), cells + cur, cells + cur + len);
            cur += len;
        }
        PadToEven(out);
    }
}

bool ArryDecodeRuns(const uint8_t* data, size_t size, size_t& pos, uint8_t* cells, size_t n) {
    size_t filled = 0;
    while (filled < n) {
        if (pos > size || size - pos < 2) return false;
        const uint16_t word = GetU16(data + pos);
        pos += 2;
        const size_t len = word & 0x7FFF;
        if (len > n - filled) return false;
        if (word & 0x8000) {
            if (pos >= size) return false;
            std::memset(cells + filled, data[pos], len);
            pos += 1;
        } else {
            if (size - pos < len) return false;
            std::memcpy(cells + filled, data + pos, len);
            pos += len;
        }
        filled += len;
        // The pad byte after the last packet may be missing at the very end.
        if ((pos & 1) && pos < size) pos += 1;
    }
    return true;
}

std::vector<uint8_t> EncodeArryResource(const _c2DArray& array, bool compress) {
    std::vector<uint8_t> out;
    const size_t area = array.CellAreaBytes();
    out.reserve(kArryHeaderBytes + area + 64);
    PutU16(out, 0);
    PutU16(out, 0);
    PutI32(out, array.Rows());
    PutI32(out, array.Columns());
    PutI32(out, array.CellSize());
    PutI32(out, compress ? 1 : 0);
    if (area == 0) return out;
    if (compress) {
        ArryEncodeRuns(array.Data(), area, out);
    } else {
        out.insert(out.end(), array.Data(), array.Data() + area);
    }
    return out;
}

int32_t DecodeArryResource(const uint8_t* data, size_t size, _c2DArray& into) {
    // Every cell is written by the decode, so the buffer is not zeroed first.
    std::unique_ptr<uint8_t[]> cells;
    int32_t rows = 0, columns = 0;
    size_t area = 0;
    const int32_t status = DecodeCells(data, size, into, rows, columns, area, [&](size_t n) -> uint8_t* {
        cells.reset(new (std::nothrow) uint8_t[n == 0 ? 1 : n]);
        return cells.get();
    });
    // A shape the memory cannot hold is bad data, as when the array cannot grow.
    if (status == kResOutOfMemory) return kResBadData;
    if (status != kResOK) return status;
    return Commit(into, rows, columns, cells.get(), area);
}

int32_t DecodeArryCells(const uint8_t* data, size_t size, const _c2DArray& shape, uint8_t* cells) {
    if (shape.Rows() <= 0 || shape.Columns() <= 0) return kResBadData;
    int32_t rows = 0, columns = 0;
    size_t area = 0;
    return DecodeCells(data, size, shape, rows, columns, area, [&](size_t) { return cells; });
}

int32_t LoadArryCells(iResFile& file, uint32_t type, int16_t id, const _c2DArray& shape, uint8_t* cells) {
    MemHandle h = file.GetResource(type, id, nullptr);
    if (!h) {
        const int32_t status = file.GetError();
        return status != kResOK ? status : kResOutOfMemory;
    }
    const int32_t status = DecodeArryCells(GetMemHandleData(h), static_cast<size_t>(GetMemHandleSize(h)), shape, cells);
    file.ReleaseResource(h);
    return status;
}

int32_t _c2DArray::Save(iResFile& file, uint32_t type, int16_t id, bool compress) const {
    std::vector<uint8_t> bytes;
    try {
        bytes = EncodeArryResource(*this, compress);
    } catch (const std::bad_alloc&) {
        return kResOutOfMemory;
    }
    MemHandle h = NewMemHandle(static_cast<int32_t>(bytes.size()));
    if (!h) return kResOutOfMemory;
    std::memcpy(GetMemHandleData(h), bytes.data(), bytes.size());
    int32_t status = file.AddResource(h, type, id, ClampLabel(mName), true);
    if (status != kResOK) {
        DisposeMemHandle(h);
        return status;
    }
    status = file.WriteResource(h);
    // A resource that could not be written is not left behind to be written
    // later by a flush, and a layer stored earlier under the id stays.
    if (status != kResOK) DiscardFailedWrite(file, h);
    return status;
}

int32_t _c2DArray::Load(iResFile& file, uint32_t type, int16_t id) {
    MemHandle h = file.GetResource(type, id, nullptr);
    if (!h) {
        const int32_t status = file.GetError();
        return status != kResOK ? status : kResOutOfMemory;
    }
    const int32_t status = DecodeArryResource(GetMemHandleData(h), static_cast<size_t>(GetMemHandleSize(h)), *this);
    file.ReleaseResource(h);
    return status;
}
