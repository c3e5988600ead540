// Deleting one picked object: the design loses it under an undo step whose
// caption names it ("Delete Track", "Delete symbol", "Hide Designator" ...),
// and the display list, the ratsnest and the component bin follow. A
// designator in a PCB is hidden instead, a pin loses its origin markers.
#pragma once

struct Tower;

void DeletePickedObject(const Tower* item);
