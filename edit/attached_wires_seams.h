// The wires, lines, buses and locators that follow a moved schematic
// selection: the connection points of the primary records, and every item of
// the design meeting one joins the list as a secondary record. Built with
// the connection-point list; until then the program links the stand-in of
// app/attached_wires_seams_pending.cpp (nothing follows) and tests link fakes.
#pragma once

struct SelectionInfo;

void CollectAttachedWires(SelectionInfo** list);
