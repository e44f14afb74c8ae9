#pragma once
// The bytes a block of records is written as, to see that nothing in it changed.
#include <string>

namespace velmo::test {

template <class Block>
std::string blockBytes(const Block &block, int recordSize)
{
    std::string bytes(block.size() * static_cast<size_t>(recordSize), '\0');
    for (size_t k = 0; k < block.size(); ++k)
        block[k].encode(reinterpret_cast<unsigned char *>(bytes.data()) + k * recordSize);
    return bytes;
}

} // namespace velmo::test
