#pragma once
// Registers the data components (data source, table, query, stored procedure) by class name, so
// that layouts can create them.

void RegisterDataControls();
