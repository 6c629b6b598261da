#pragma once
// Registers the data components by class name, so that layouts can create them.

void RegisterDataControls();
