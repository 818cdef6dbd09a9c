// Two-dimensional arrays of fixed-size cells, the storage of every per-tile
// layer of the world. Each live array is entered in a program-wide registry
// under a unique name, so tools can snapshot a layer into a scratch array by
// name and back. The registry is guarded: the loading thread and the main
// thread both create and name arrays.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

class iResFile;

class _c2DArray {
public:
    _c2DArray(int32_t cellSize, int32_t rows, int32_t columns, const std::string& name);
    virtual ~_c2DArray();
    _c2DArray(const _c2DArray&) = delete;
    _c2DArray& operator=(const _c2DArray&) = delete;

    // Reallocates when either dimension differs; the cells are then zero.
    // A zero or negative dimension leaves no storage and succeeds. False only
    // when the allocation fails, and then the array is unchanged.
    bool Resize(int32_t rows, int32_t columns);
    void Fill(uint8_t value);

    void SetName(const std::string& name);
    const std::string& GetName() const { return mName; }
    static _c2DArray* FindByName(const std::string& name);
    static size_t RegistryCount();

    // Copy the whole cell area from or to the named array, only when both
    // have the same cell size and dimensions. True when copied.
    bool CopyFromNamed(const std::string& name);
    bool CopyToNamed(const std::string& name) const;
    // Same shape and cell size: copy the cells of other. True when copied.
    bool CopyFrom(const _c2DArray& other);

    int32_t Rows() const { return mRows; }
    int32_t Columns() const { return mColumns; }
    int32_t CellSize() const { return mCellSize; }
    bool HasData() const { return mData != nullptr; }
    size_t CellAreaBytes() const;
    uint8_t* Data() { return mData.get(); }
    const uint8_t* Data() const { return mData.get(); }
    // Inline: every layer walk goes through here once per cell.
    uint8_t* CellBytes(int32_t row, int32_t column) {
        const CellLayout& layout = mLayout;
        return layout.data + (static_cast<size_t>(row) * layout.columns + static_cast<size_t>(column)) * layout.cellSize;
    }
    const uint8_t* CellBytes(int32_t row, int32_t column) const {
        return const_cast<_c2DArray*>(this)->CellBytes(row, column);
    }
    bool Contains(int32_t row, int32_t column) const {
        const CellLayout& layout = mLayout;
        return row >= 0 && column >= 0 && row < layout.rows && column < layout.columnCount;
    }

    // Moves the cells of the leading n by n square by (dx, dy): a cell lands
    // only on a target inside the square that is not on its border row or
    // column; border targets and cells whose source lies outside take the
    // fill cell. n defaults to the array's rows. Nothing happens when the
    // scratch copy cannot be made.
    void ShiftCells(int32_t dx, int32_t dy, const void* fillCell, int32_t n = -1);

    // Row and column reduced into range by adding or subtracting the
    // dimension; null when the array has no cells.
    uint8_t* WrapAtBytes(int32_t row, int32_t column);

    // The 'Arry' resource of this array (see ArryResource.h), added to the
    // file under the array's name and written. The status of the resource
    // layer; -200 when memory runs out.
    int32_t Save(iResFile& file, uint32_t type, int16_t id, bool compress) const;
    // Reads the resource into the array: the file's status when it is
    // missing, -1 when it does not fit, 0 on success.
    int32_t Load(iResFile& file, uint32_t type, int16_t id);

private:
    // The cell addressing of CellBytes and Contains in one plain record,
    // mirroring mData, mRows, mColumns and mCellSize: the sanitizer build
    // checks every member read of this polymorphic class, and one read per
    // cell instead of three halves the cost of every layer walk there.
    struct CellLayout {
        uint8_t* data = nullptr;
        size_t columns = 0;
        size_t cellSize = 0;
        int32_t rows = -1;
        int32_t columnCount = -1;
    };
    void UpdateLayout();
    void Link();
    void Unlink();

    CellLayout mLayout;

    _c2DArray* mNext = nullptr;
    int32_t mColumns = -1;
    int32_t mRows = -1;
    std::unique_ptr<uint8_t[]> mData;
    std::string mName;
    int32_t mCellSize = 0;
};

template <class T>
class c2DArray : public _c2DArray {
public:
    explicit c2DArray(int32_t n) : _c2DArray(static_cast<int32_t>(sizeof(T)), n, n, std::string()) {}
    c2DArray(int32_t rows, int32_t columns, const std::string& name)
        : _c2DArray(static_cast<int32_t>(sizeof(T)), rows, columns, name) {}

    T& At(int32_t row, int32_t column) { return *reinterpret_cast<T*>(CellBytes(row, column)); }
    const T& At(int32_t row, int32_t column) const {
        return *reinterpret_cast<const T*>(CellBytes(row, column));
    }
    // The cells of one row, for walks that check their bounds once per row
    // rather than per cell.
    T* Row(int32_t row) { return reinterpret_cast<T*>(CellBytes(row, 0)); }
    const T* Row(int32_t row) const { return reinterpret_cast<const T*>(CellBytes(row, 0)); }

    void FillCells(const T& value) {
        if (!HasData()) return;
        T* p = reinterpret_cast<T*>(Data());
        const size_t count = static_cast<size_t>(Rows()) * static_cast<size_t>(Columns());
        for (size_t i = 0; i < count; ++i) p[i] = value;
    }
    void Shift(int32_t dx, int32_t dy, const T& fill, int32_t n = -1) { ShiftCells(dx, dy, &fill, n); }
    T* WrapAt(int32_t row, int32_t column) { return reinterpret_cast<T*>(WrapAtBytes(row, column)); }

    // A new square array of the same size holding the same cells; null when
    // it cannot be allocated.
    std::unique_ptr<c2DArray<T>> Clone() const {
        auto copy = std::make_unique<c2DArray<T>>(Rows());
        if (Rows() > 0 && !copy->HasData()) return nullptr;
        copy->Resize(Rows(), Columns());
        if (!copy->CopyFrom(*this)) return nullptr;
        return copy;
    }

    void AndAll(T mask) {
        if (!HasData()) return;
        T* p = reinterpret_cast<T*>(Data());
        const size_t count = static_cast<size_t>(Rows()) * static_cast<size_t>(Columns());
        for (size_t i = 0; i < count; ++i) p[i] = static_cast<T>(p[i] & mask);
    }
};

// The base of the layers that other parts of the world share and count
// references to (pool, water, roofs).
template <class T>
class cArray : public c2DArray<T> {
public:
    explicit cArray(int32_t n) : c2DArray<T>(n) {}
    virtual ~cArray() = default;
    void AddRef() { ++mRefCount; }
    // Deletes the layer when the last reference goes.
    void Release() {
        if (--mRefCount <= 0) delete this;
    }
    int32_t RefCount() const { return mRefCount; }

private:
    int32_t mRefCount = 0;
};
