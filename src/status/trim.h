#pragma once

// Asks the system to take as many pages as it can out of the working set.
void TrimWorkingSet();
