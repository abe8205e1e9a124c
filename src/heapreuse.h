#ifndef POLVANE_HEAPREUSE_H
#define POLVANE_HEAPREUSE_H

// Lets a small conversion keep the memory it frees for its later blocks, instead of handing it back to the system
// and taking fresh pages again: each first touch of a fresh page traps into the system, and for a model of a few
// megabytes those traps cost as much as the conversion's own work. Large models keep the usual policy, which holds
// their peak memory down. Call before the model is read.
void ReuseFreedMemoryFor(const char* modelPath);

#endif
