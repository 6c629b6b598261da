#pragma once
// The standard controls a design stream may name: panels, labels, data texts and speed buttons.

// Registers their classes by name, so that a reader can create them. Call it once at start-up;
// calling it again does no harm.
void RegisterStandardControls();
