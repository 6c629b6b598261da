#pragma once
// The standard controls, menus, actions and common controls that a design stream or a layout may
// name by class.

// Registers their classes by name, so that a reader can create them. Call it once at start-up;
// calling it again does no harm.
void RegisterStandardControls();
