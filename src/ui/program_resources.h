// The program's resources: dialog templates 100, 102, 104 and 105, strings 101 and 103, icon
// 128. Registered once, before the first object that needs them is made.
#pragma once

void LoadProgramResources();
