// The built-in size texts, one per editor kind, used when an editor kind's
// size file cannot be opened or lacks a list the editor needs. They are size
// files like any other: values with their units, "D" for a list's default,
// every other entry on, names only where a list names its entries. Editor
// kinds that share a list share its section text.
#include <string>

#include "edit/window_data.h"
#include "objects/layer_table.h"
#include "objects/size_text.h"

namespace {

const char kPCBLines[] =
    "[Lines]\r\n"
    "\"4.000\"\t\t\"Thou\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"6.000\"\t\t\"Thou\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"8.000\"\t\t\"Thou\"\t\"\"\t\"D\"\t\"\"\r\n"
    "\"10.000\"\t\t\"Thou\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"12.000\"\t\t\"Thou\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"15.000\"\t\t\"Thou\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"20.000\"\t\t\"Thou\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"25.000\"\t\t\"Thou\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"30.000\"\t\t\"Thou\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"40.000\"\t\t\"Thou\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"50.000\"\t\t\"Thou\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"0.200\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"0.300\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"0.400\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"0.500\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"0.600\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"0.700\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"0.800\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"0.900\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.000\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.100\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.200\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.300\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.400\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.500\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.600\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.700\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.800\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.900\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"2.000\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"2.500\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"3.000\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"3.500\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"4.000\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"4.500\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"5.000\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\r\n";

const char kPCBCircles[] =
    "[Circles]\r\n"
    "\"0.300\"\t\t\"mm\"\t\"\"\t\"D\"\t\"\"\r\n"
    "\"0.400\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"0.500\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"0.600\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"0.700\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"0.800\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"0.900\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.000\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.100\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.200\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.300\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.400\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.500\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.600\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.700\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.800\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.900\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"2.000\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"2.100\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"2.200\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"2.300\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"2.400\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"2.500\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"2.600\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"2.700\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"2.800\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"2.900\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"3.000\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"3.500\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"4.000\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"4.500\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"5.000\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\r\n";

const char kPCBRectangles[] =
    "[Rectangles]\r\n"
    "\"0.300\"\t\"0.300\"\t\"mm\"\t\"\"\t\"D\"\t\"\"\r\n"
    "\"0.400\"\t\"0.400\"\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"0.500\"\t\"0.500\"\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"0.600\"\t\"0.600\"\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"0.700\"\t\"0.700\"\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"0.800\"\t\"0.800\"\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"0.900\"\t\"0.900\"\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.000\"\t\"1.000\"\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.100\"\t\"1.100\"\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.200\"\t\"1.200\"\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.300\"\t\"1.300\"\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.400\"\t\"1.400\"\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.500\"\t\"1.500\"\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.600\"\t\"1.600\"\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.700\"\t\"1.700\"\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.800\"\t\"1.800\"\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.900\"\t\"1.900\"\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"2.000\"\t\"2.000\"\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"2.100\"\t\"2.100\"\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"2.200\"\t\"2.200\"\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"2.300\"\t\"2.300\"\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"2.400\"\t\"2.400\"\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"2.500\"\t\"2.500\"\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"2.600\"\t\"2.600\"\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"2.700\"\t\"2.700\"\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"2.800\"\t\"2.800\"\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"2.900\"\t\"2.900\"\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"3.000\"\t\"3.000\"\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"3.500\"\t\"3.500\"\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"4.000\"\t\"4.000\"\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"4.500\"\t\"4.500\"\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"5.000\"\t\"5.000\"\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\r\n";

const char kPCBHoles[] =
    "[Holes]\r\n"
    "\"0.200\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"0.300\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"0.400\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"0.500\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"0.600\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"0.700\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"0.800\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"0.900\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.000\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.100\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.200\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.300\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.400\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.500\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.600\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.700\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.800\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.900\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"2.000\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"2.100\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"2.200\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"2.300\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"2.400\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"2.500\"\t\t\"mm\"\t\"\"\t\"D\"\t\"\"\r\n"
    "\"2.600\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"2.700\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"2.800\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"2.900\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"3.000\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"3.500\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"4.000\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"4.500\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"5.000\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"5.500\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"6.000\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"6.500\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"7.000\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"7.500\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"8.000\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"8.500\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"9.000\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"9.500\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"10.000\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\r\n";

const char kPCBVias[] =
    "[Vias]\r\n"
    "\"0.300\"\t\"0.700\"\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"0.400\"\t\"0.700\"\t\"mm\"\t\"\"\t\"D\"\t\"\"\r\n"
    "\"0.400\"\t\"0.800\"\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"0.500\"\t\"0.900\"\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"0.600\"\t\"1.000\"\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"0.700\"\t\"1.300\"\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"0.700\"\t\"1.500\"\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"0.900\"\t\"2.000\"\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\r\n";

const char kPCBFonts[] =
    "[Fonts]\r\n"
    "\"8\"\t\t\t\"\"\t\"Y\"\t\"Designator\"\r\n"
    "\"10\"\t\t\t\"\"\t\"Y\"\t\"Designator\"\r\n"
    "\"12\"\t\t\t\"\"\t\"Y\"\t\"Designator\"\r\n"
    "\"16\"\t\t\t\"\"\t\"D\"\t\"Designator\"\r\n"
    "\"20\"\t\t\t\"\"\t\"Y\"\t\"Designator\"\r\n"
    "\"24\"\t\t\t\"\"\t\"Y\"\t\"Designator\"\r\n"
    "\"32\"\t\t\t\"\"\t\"Y\"\t\"Designator\"\r\n"
    "\"64\"\t\t\t\"\"\t\"Y\"\t\"Designator\"\r\n"
    "\"32\"\t\t\t\"\"\t\"Y\"\t\"Board Label\"\r\n"
    "\"64\"\t\t\t\"\"\t\"Y\"\t\"Board Label\"\r\n"
    "\r\n";

const char kShapeLines[] =
    "[Lines]\r\n"
    "\"0.200\"\t\t\"mm\"\t\"\"\t\"D\"\t\"\"\r\n"
    "\"0.300\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"0.400\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"0.500\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"0.600\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"0.700\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"0.800\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"0.900\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.000\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"10.000\"\t\t\"Thou\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"15.000\"\t\t\"Thou\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"20.000\"\t\t\"Thou\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\r\n";

const char kPCBSymbolLines[] =
    "[Lines]\r\n"
    "\"0.200\"\t\t\"mm\"\t\"\"\t\"D\"\t\"Symbol Outline\"\r\n"
    "\"0.300\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"0.400\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"0.500\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"0.600\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"0.700\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"0.800\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"0.900\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.000\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"10.000\"\t\t\"Thou\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"15.000\"\t\t\"Thou\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"20.000\"\t\t\"Thou\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\r\n";

const char kPCBSymbolCircles[] =
    "[Circles]\r\n"
    "\"0.500\"\t\t\"mm\"\t\"\"\t\"D\"\t\"\"\r\n"
    "\"0.600\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"0.700\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"0.800\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"0.900\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.000\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.100\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.200\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.300\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.400\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.500\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.600\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.700\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.800\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.900\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"2.000\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"2.100\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"2.200\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"2.300\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"2.400\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"2.500\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"2.600\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"2.700\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"2.800\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"2.900\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"3.000\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"3.500\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"4.000\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"4.500\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"5.000\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\r\n";

const char kPCBSymbolRectangles[] =
    "[Rectangles]\r\n"
    "\"0.500\"\t\"0.500\"\t\"mm\"\t\"\"\t\"D\"\t\"\"\r\n"
    "\"0.600\"\t\"0.600\"\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"0.700\"\t\"0.700\"\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"0.800\"\t\"0.800\"\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"0.900\"\t\"0.900\"\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.000\"\t\"1.000\"\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.100\"\t\"1.100\"\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.200\"\t\"1.200\"\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.300\"\t\"1.300\"\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.400\"\t\"1.400\"\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.500\"\t\"1.500\"\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.600\"\t\"1.600\"\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.700\"\t\"1.700\"\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.800\"\t\"1.800\"\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.900\"\t\"1.900\"\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"2.000\"\t\"2.000\"\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"2.100\"\t\"2.100\"\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"2.200\"\t\"2.200\"\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"2.300\"\t\"2.300\"\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"2.400\"\t\"2.400\"\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"2.500\"\t\"2.500\"\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"2.600\"\t\"2.600\"\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"2.700\"\t\"2.700\"\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"2.800\"\t\"2.800\"\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"2.900\"\t\"2.900\"\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"3.000\"\t\"3.000\"\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"3.500\"\t\"3.500\"\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"4.000\"\t\"4.000\"\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"4.500\"\t\"4.500\"\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"5.000\"\t\"5.000\"\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\r\n";

const char kPCBSymbolHoles[] =
    "[Holes]\r\n"
    "\"0.200\"\t\t\"mm\"\t\"\"\t\"D\"\t\"\"\r\n"
    "\"0.300\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"0.400\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"0.500\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"0.600\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"0.700\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"0.800\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"0.900\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.000\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.100\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.200\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.300\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.400\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.500\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.600\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.700\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.800\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.900\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"2.000\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"2.100\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"2.200\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"2.300\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\r\n";

const char kPadStackHoles[] =
    "[Holes]\r\n"
    "\"0.200\"\t\t\"mm\"\t\"\"\t\"D\"\t\"\"\r\n"
    "\"0.300\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"0.400\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"0.500\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"0.600\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"0.700\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"0.800\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"0.900\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.000\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.100\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.200\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.300\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.400\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.500\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.600\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.700\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.800\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"1.900\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"2.000\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"2.100\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"2.200\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"2.300\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"2.400\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"2.500\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"2.600\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"2.700\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"2.800\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"2.900\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"3.000\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"3.500\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"4.000\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"4.500\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\"5.000\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"\"\r\n"
    "\r\n";

const char kSchematicSymbolFonts[] =
    "[Fonts]\r\n"
    "\"8\"\t\t\t\"\"\t\"Y\"\t\"Small Text\"\r\n"
    "\"16\"\t\t\t\"\"\t\"Y\"\t\"Pin Name\"\r\n"
    "\"32\"\t\t\t\"\"\t\"Y\"\t\"Designator\"\r\n"
    "\"32\"\t\t\t\"\"\t\"Y\"\t\"Value\"\r\n"
    "\"64\"\t\t\t\"\"\t\"Y\"\t\"Medium Text\"\r\n"
    "\"128\"\t\t\t\"\"\t\"Y\"\t\"Large Text\"\r\n"
    "\r\n";

const char kSchematicLines[] =
    "[Lines]\r\n"
    "\"0.200\"\t\t\"mm\"\t\"\"\t\"D\"\t\"Thin Line\"\r\n"
    "\"0.400\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"Medium Line\"\r\n"
    "\"0.800\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"Thick Line\"\r\n"
    "\"0.200\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"Standard Wire\"\r\n"
    "\"0.400\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"Medium Wire\"\r\n"
    "\"0.800\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"Thick Wire\"\r\n"
    "\"0.600\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"Standard Bus\"\r\n"
    "\"0.800\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"Medium Bus\"\r\n"
    "\"1.000\"\t\t\"mm\"\t\"\"\t\"Y\"\t\"Thick Bus\"\r\n"
    "\r\n";

const std::string& Joined(std::initializer_list<const char*> sections, std::string& text) {
  if (text.empty())
    for (const char* s : sections) text += s;
  return text;
}

}  // namespace

const char* DefaultSizeText(std::uint32_t editorKind) {
  static std::string pcbText;
  static std::string shapeText;
  static std::string pcbSymbolText;
  static std::string padStackText;
  static std::string schematicSymbolText;
  static std::string schematicText;
  switch (editorKind) {
    case kEditorPcb:
      return Joined({kPCBLines, kPCBCircles, kPCBRectangles, kPCBHoles, kPCBVias, kPCBFonts}, pcbText).c_str();
    case kEditorShape:
      return Joined({kShapeLines, kPCBCircles, kPCBRectangles}, shapeText).c_str();
    case kEditorPcbSymbol:
      return Joined({kPCBSymbolLines, kPCBSymbolCircles, kPCBSymbolRectangles, kPCBSymbolHoles}, pcbSymbolText).c_str();
    case kEditorPadStack:
      return Joined({kPadStackHoles}, padStackText).c_str();
    case kEditorSchematicSymbol:
      return Joined({kPCBSymbolLines, kPCBSymbolCircles, kPCBSymbolRectangles, kSchematicSymbolFonts}, schematicSymbolText).c_str();
    case kEditorSchematic:
      return Joined({kSchematicLines, kPCBSymbolCircles, kPCBSymbolRectangles, kSchematicSymbolFonts}, schematicText).c_str();
    default:
      return nullptr;
  }
}
