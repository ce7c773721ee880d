// Calvotrimex's program body: it measures how many threads the machine runs in parallel
// and how fast it adds floating-point numbers.
#pragma once

void calvotrimexprogram();
