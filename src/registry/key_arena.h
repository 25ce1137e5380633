#pragma once
// Storage for key trees: nodes come from large blocks in the order they are made (a tree read or
// built depth first then lies in memory as it is walked) and names and data from a text arena,
// so that no key or value costs an allocation of its own and look-ups stay in few cache lines.
// Nodes are still held by shared pointers: a node may outlive the arena, and a block is freed
// with the last node in it (a deleted key's memory comes back with its block's).

#include "registry/text_arena.h"

#include <cstddef>

namespace orvanex::reg {

class NodePool {
public:
    NodePool() = default;
    ~NodePool();
    NodePool(const NodePool&) = delete;
    NodePool& operator=(const NodePool&) = delete;

    void* take(std::size_t size, std::size_t align);
    static void give(void* p) noexcept;

private:
    struct Block;
    Block* m_block = nullptr;
    std::size_t m_used = 0;
};

// For std::allocate_shared: a node and its count in one piece of a pool block.
template <typename T> struct PoolAllocator {
    using value_type = T;
    explicit PoolAllocator(NodePool* p) : pool(p) {}
    template <typename U> PoolAllocator(const PoolAllocator<U>& other) : pool(other.pool) {}
    T* allocate(std::size_t n) { return static_cast<T*>(pool->take(n * sizeof(T), alignof(T))); }
    void deallocate(T* p, std::size_t) noexcept { NodePool::give(p); }
    template <typename U> bool operator==(const PoolAllocator<U>& other) const {
        return pool == other.pool;
    }
    NodePool* pool; // used only to allocate: a freed piece finds its block by its address
};

struct KeyArena {
    TextArena texts;
    NodePool nodes;
    // The calling thread's own, for keys made one at a time.
    static KeyArena& local();
};

} // namespace orvanex::reg
