#ifndef POLVANE_BATCHPALETTE_H
#define POLVANE_BATCHPALETTE_H

// The colour of batch number `batch` (0 and up), 0 to 1 per channel: hues a golden angle apart, so neighbouring
// batches differ clearly and no two batches of a model share a colour, at two brightnesses taken in turn.
void BatchColour(int batch, float colour[3]);

#endif
