#include "registry/key_arena.h"

#include <atomic>
#include <cstdint>
#include <cstdlib>
#include <new>

namespace orvanex::reg {

namespace {
// Blocks are aligned to their size, so a piece's block is its address rounded down.
constexpr std::size_t BlockSize = 64 * 1024;
} // namespace

struct NodePool::Block {
    // Pieces in use, plus one while the pool still takes from the block.
    std::atomic<std::size_t> live{1};
};

KeyArena& KeyArena::local() {
    thread_local KeyArena arena;
    return arena;
}

NodePool::~NodePool() {
    if (m_block)
        give(m_block + 1);
}

void* NodePool::take(std::size_t size, std::size_t align) {
    std::size_t at = (m_used + align - 1) & ~(align - 1);
    if (!m_block || at + size > BlockSize) {
        if (size + sizeof(Block) + align > BlockSize)
            throw std::bad_alloc();
        void* memory = std::aligned_alloc(BlockSize, BlockSize);
        if (!memory)
            throw std::bad_alloc();
        Block* fresh = new (memory) Block;
        if (m_block)
            give(m_block + 1); // the pool's own hold on the old block
        m_block = fresh;
        at = (sizeof(Block) + align - 1) & ~(align - 1);
    }
    m_block->live.fetch_add(1, std::memory_order_relaxed);
    m_used = at + size;
    return reinterpret_cast<char*>(m_block) + at;
}

void NodePool::give(void* p) noexcept {
    auto* block = reinterpret_cast<Block*>(reinterpret_cast<std::uintptr_t>(p) & ~(BlockSize - 1));
    if (block->live.fetch_sub(1, std::memory_order_acq_rel) == 1) {
        block->~Block();
        std::free(block);
    }
}

} // namespace orvanex::reg
