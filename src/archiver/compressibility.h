// A cheap guess of what a block of bytes would pack to, for deciding whether a member that
// started out incompressible is worth compressing after all.
#pragma once

#include <cstddef>
#include <cstdint>

namespace archiver {

// The bytes an ideal coder of single-byte frequencies would need for the block (its order-0
// entropy). The -lh5- coder does at least about this well on any block, so the difference to
// the block's size is savings it can reach; random or already compressed data gives almost
// none.
double Order0PackedBytes(const std::uint8_t* data, std::size_t size);

}  // namespace archiver
