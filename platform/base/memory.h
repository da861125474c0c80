#pragma once
// How the process's heap treats large blocks.

namespace plat {

// Large blocks (a spectrum's points, a control's state, an undo snapshot: tens of megabytes each)
// come from the heap and stay there when freed, up to a bound, instead of each being mapped
// afresh: the kernel clears every page of a new mapping as it is first touched, which costs
// several times the copy that fills it, and a program that hands a spectrum's state from block
// to block frees one large block just before it makes the next. Called once at start, before
// anything large is made.
void reuseLargeBlocks();

}  // namespace plat
