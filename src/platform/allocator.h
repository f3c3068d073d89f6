#pragma once
// How the process's allocator treats freed memory.

namespace vortel {

// Freed memory stays with the process for the next allocation: no block is
// handed back to the system, and blocks of up to 32 MB come from the heap
// rather than from a mapping of their own. The GL driver allocates and frees
// megabytes of vertex and bin memory every frame; given back and taken again,
// each of their pages costs a page fault, which on a virtual machine came to
// more than half of a many-shaped frame's time on the processor. Call early,
// before the GL is loaded; the process's memory then stays at its high-water
// mark, which a show reaches in its first frames.
void keepFreedMemoryForReuse();

}  // namespace vortel
