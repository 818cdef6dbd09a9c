#include "world/c2DArray.h"

#include <cstring>
#include <mutex>
#include <new>

namespace {

// The registry: newest array first. Names are compared under the same lock
// that links and unlinks, so two threads never hand out the same name.
std::recursive_mutex& RegistryLock() {
    static std::recursive_mutex lock;
    return lock;
}
_c2DArray*& RegistryHead() {
    static _c2DArray* head = nullptr;
    return head;
}

}  // namespace

_c2DArray::_c2DArray(int32_t cellSize, int32_t rows, int32_t columns, const std::string& name)
    : mCellSize(cellSize) {
    Link();
    SetName(name);
    // Resize hands out zeroed cells: no second fill.
    Resize(rows, columns);
}

_c2DArray::~_c2DArray() {
    Unlink();
    mData.reset();
    mRows = -1;
    mColumns = -1;
    mCellSize = 0;
    UpdateLayout();
}

void _c2DArray::UpdateLayout() {
    mLayout.data = mData.get();
    mLayout.columns = static_cast<size_t>(mColumns);
    mLayout.cellSize = static_cast<size_t>(mCellSize);
    mLayout.rows = mRows;
    mLayout.columnCount = mColumns;
}

void _c2DArray::Link() {
    std::lock_guard<std::recursive_mutex> guard(RegistryLock());
    mNext = RegistryHead();
    RegistryHead() = this;
}

void _c2DArray::Unlink() {
    std::lock_guard<std::recursive_mutex> guard(RegistryLock());
    _c2DArray** link = &RegistryHead();
    while (*link != nullptr) {
        if (*link == this) {
            *link = mNext;
            break;
        }
        link = &(*link)->mNext;
    }
    mNext = nullptr;
}

size_t _c2DArray::RegistryCount() {
    std::lock_guard<std::recursive_mutex> guard(RegistryLock());
    size_t n = 0;
    for (_c2DArray* a = RegistryHead(); a != nullptr; a = a->mNext) ++n;
    return n;
}

size_t _c2DArray::CellAreaBytes() const {
    if (!mData) return 0;
    return static_cast<size_t>(mRows) * static_cast<size_t>(mColumns) * static_cast<size_t>(mCellSize);
}

bool _c2DArray::Resize(int32_t rows, int32_t columns) {
    if (rows == mRows && columns == mColumns) return true;
    if (rows <= 0 || columns <= 0) {
        mData.reset();
        mRows = rows;
        mColumns = columns;
        UpdateLayout();
        return true;
    }
    const size_t bytes = static_cast<size_t>(rows) * static_cast<size_t>(columns) * static_cast<size_t>(mCellSize);
    std::unique_ptr<uint8_t[]> data(new (std::nothrow) uint8_t[bytes == 0 ? 1 : bytes]());
    if (!data) return false;
    mData = std::move(data);
    mRows = rows;
    mColumns = columns;
    UpdateLayout();
    return true;
}

void _c2DArray::Fill(uint8_t value) {
    if (mRows <= 0 || mColumns <= 0 || !mData) return;
    std::memset(mData.get(), value, CellAreaBytes());
}

void _c2DArray::SetName(const std::string& name) {
    std::lock_guard<std::recursive_mutex> guard(RegistryLock());
    Unlink();
    std::string candidate = name;
    for (int counter = 0; candidate.empty() || FindByName(candidate) != nullptr; ++counter) {
        candidate = name + std::to_string(counter);
    }
    mName = candidate;
    Link();
}

_c2DArray* _c2DArray::FindByName(const std::string& name) {
    std::lock_guard<std::recursive_mutex> guard(RegistryLock());
    for (_c2DArray* a = RegistryHead(); a != nullptr; a = a->mNext) {
        if (a->mName == name) return a;
    }
    return nullptr;
}

bool _c2DArray::CopyFrom(const _c2DArray& other) {
    if (&other == this) return true;
    if (other.mCellSize != mCellSize || other.mRows != mRows || other.mColumns != mColumns) return false;
    if (!mData || !other.mData) return mData == nullptr && other.mData == nullptr;
    std::memcpy(mData.get(), other.mData.get(), CellAreaBytes());
    return true;
}

bool _c2DArray::CopyFromNamed(const std::string& name) {
    std::lock_guard<std::recursive_mutex> guard(RegistryLock());
    const _c2DArray* source = FindByName(name);
    return source != nullptr && CopyFrom(*source);
}

bool _c2DArray::CopyToNamed(const std::string& name) const {
    std::lock_guard<std::recursive_mutex> guard(RegistryLock());
    _c2DArray* target = FindByName(name);
    return target != nullptr && target->CopyFrom(*this);
}

void _c2DArray::ShiftCells(int32_t dx, int32_t dy, const void* fillCell, int32_t n) {
    if (!mData) return;
    if (n < 0 || n > mRows) n = mRows;
    if (n > mColumns) n = mColumns;
    const size_t area = CellAreaBytes();
    std::unique_ptr<uint8_t[]> old(new (std::nothrow) uint8_t[area]);
    if (!old) return;
    std::memcpy(old.get(), mData.get(), area);
    const size_t cell = static_cast<size_t>(mCellSize);
    auto oldCell = [&](int32_t x, int32_t y) {
        return old.get() + (static_cast<size_t>(x) * static_cast<size_t>(mColumns) + static_cast<size_t>(y)) * cell;
    };
    auto border = [n](int32_t v) { return v == 0 || v == n - 1; };
    for (int32_t x = 0; x < n; ++x) {
        for (int32_t y = 0; y < n; ++y) {
            const int32_t sx = x - dx;
            const int32_t sy = y - dy;
            const bool sourceInside = sx >= 0 && sy >= 0 && sx < n && sy < n;
            const void* from = (sourceInside && !border(x) && !border(y)) ? oldCell(sx, sy) : fillCell;
            std::memcpy(CellBytes(x, y), from, cell);
        }
    }
}

uint8_t* _c2DArray::WrapAtBytes(int32_t row, int32_t column) {
    // A zero dimension has nothing to wrap into.
    if (!mData || mRows <= 0 || mColumns <= 0) return nullptr;
    row %= mRows;
    if (row < 0) row += mRows;
    column %= mColumns;
    if (column < 0) column += mColumns;
    return CellBytes(row, column);
}
