#include "app/builtin_commands.h"

#include <array>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <string_view>
#include <utility>

#include "app/accelerators_file.h"
#include "app/command_operations.h"
#include "app/command_table.h"
#include "app/core_utilities.h"
#include "app/pending_services.h"
#include "app/script_seams.h"
#include "app/start_values.h"
#include "edit/window_data.h"
#include "platform/responder.h"
#include "platform/user.h"

namespace {

constexpr std::uint8_t kToWindow = 0;
constexpr std::uint8_t kToFrame = 1;

// One registration of a command: its kinds and tool mode. Most commands have
// one; a command that applies in several modes (or in other modes for some
// kinds) has one per group, registered in this order.
struct Registration {
  std::uint32_t kindMask;
  std::int32_t toolMode;
};

// A handler that only resends a menu command: WM_COMMAND with this id to the
// window or the frame, with notification code 1 in the high word where set.
// A gated resend first asks the owner whether the window's selection or
// edit mode allows it.
struct Resend {
  std::uint16_t id;
  std::uint8_t target;
  std::uint8_t code1;
  std::uint8_t gated;
};

struct BuiltinCommand {
  const char* name;
  const char* caption;
  Registration registrations[3];  // ends at a zero kind mask
  std::uint16_t keys[3];           // dispatch order; ends at 0
  std::uint16_t menuIds[5];        // ends at 0
  Resend resend;                               // id 0: not a plain resend
};

// The built-in commands in registration order.
constexpr BuiltinCommand kBuiltinCommands[] = {
    {"insert.arc.centre", "Insert Arc (Centre)", {{0x37, 0}}, {65}, {254}, {}},
    {"insert.arc.ends", "Insert Arc (Endpoints)", {{0x37, 0}}, {}, {2552}, {}},
    {"insert.autoplacecentroid", "Auto Place Centroid", {{0x4, 0}}, {16, 65}, {2262}, {}},
    {"insert.boardoutline.arc.centre", "Insert Board Outline Arc (Centre)", {{0x5, 0}}, {}, {2549}, {}},
    {"insert.boardoutline.arc.ends", "Insert Board Outline Arc (Endpoints)", {{0x5, 0}}, {}, {2551}, {}},
    {"insert.boardoutline.line", "Insert Board Outline Track", {{0x3, 0}}, {}, {2550}, {}},
    {"insert.bottomsolderresist", "Insert Pad Bottom Solder Resist", {{0x8, 0}}, {16, 82}, {246}, {246, kToWindow, 0, 0}},
    {"insert.bus", "Insert Bus", {{0x20, 0}}, {66}, {2276}, {}},
    {"insert.centroid", "Insert Centroid", {{0x4, 0}}, {16, 67}, {2263}, {}},
    {"insert.circle", "Insert Circle", {{0x37, 0}}, {67}, {256}, {}},
    {"insert.datum", "Insert Datum", {{0x1, 0}}, {68}, {2378}, {}},
    {"insert.dimensioner.angle", "Insert Dimensioner (Angle)", {{0x5, 0}}, {}, {2681}, {}},
    {"insert.dimensioner.delta", "Insert Dimensioner (Delta)", {{0x5, 0}}, {}, {2304}, {}},
    {"insert.dxf", "Insert DXF", {{0x5, 0}}, {17, 16, 90}, {}, {}},
    {"insert.insertvectorisedbitmap", "Insert Vectorised Bitmap", {{0x4, 0}}, {}, {2658}, {}},
    {"insert.ioport", "Insert IO Port", {{0x20, 0}}, {73}, {2292}, {}},
    {"insert.line", "Insert Line", {{0x37, 0}}, {84}, {251}, {}},
    {"insert.linefromend", "Continue Track", {{0x1, 0}}, {16, 87}, {2431}, {}},
    {"insert.linefrompadcentre", "Insert Track From Pad", {{0x1, 0}}, {16, 84}, {2415}, {}},
    {"insert.linkedcut", "Insert Plane Cut (Linked)", {{0x1, 0}}, {16, 86}, {2386}, {}},
    {"insert.macroblock", "Insert Macro Block", {{0x1, 0}}, {}, {2546}, {}},
    {"insert.mechanicalsymbol", "Insert Mechanical Symbol", {{0x1, 0}}, {16, 83}, {2018}, {2018, kToWindow, 0, 0}},
    {"insert.namedioport", "Insert Named IO Port", {{0x3f, 0}}, {16, 73}, {2333}, {}},
    {"insert.netnamelocator", "Insert Net Name Locator", {{0x20, 0}}, {16, 78}, {2291}, {}},
    {"insert.nonplatedhole", "Insert Non Plated Hole", {{0x5, 0}}, {72}, {458}, {}},
    {"insert.nonplatedslot", "Insert Non Plated Slot", {{0x5, 0}}, {}, {2611}, {}},
    {"insert.pad", "Insert Pad", {{0x4, 0}}, {68}, {200}, {}},
    {"insert.padbottomlayer", "Insert Pad Bottom Layer", {{0x8, 0}}, {66}, {239}, {239, kToWindow, 0, 0}},
    {"insert.padinnerlayer", "Insert Pad Inner Layer", {{0x8, 0}}, {73}, {222}, {222, kToWindow, 0, 0}},
    {"insert.pcbdesignatorlocator", "Insert PCB Designator Locator", {{0x4, 0}}, {16, 68}, {206}, {}},
    {"insert.pcbsymbol", "Insert PCB Symbol", {{0x1, 0}}, {83}, {221}, {221, kToWindow, 0, 0}},
    {"insert.pin", "Insert Pin", {{0x10, 0}}, {16, 80}, {2348}, {}},
    {"insert.pinnamelocator", "Insert Pin Name Locator", {{0x10, 0}}, {16, 76}, {2306}, {}},
    {"insert.pinnumberlocator", "Insert Pin Number Locator", {{0x10, 0}}, {16, 78}, {2299}, {}},
    {"insert.platedhole", "Insert Plated Hole", {{0x8, 0}}, {72}, {2605}, {}},
    {"insert.platedslot", "Insert Plated Slot", {{0x9, 0}}, {}, {2607}, {}},
    {"insert.polycut", "Insert Plane Cut (Polygon)", {{0x1, 0}}, {16, 67}, {201}, {}},
    {"insert.polygon", "Insert Polygon", {{0x37, 0}}, {78}, {257}, {}},
    {"insert.polykeepout", "Insert Polygon Keepout", {{0x1, 0}}, {}, {2578}, {}},
    {"insert.polyplane", "Insert Plane", {{0x1, 0}}, {16, 78}, {215}, {}},
    {"insert.rectangle", "Insert Rectangle", {{0x37, 0}}, {82}, {258}, {}},
    {"insert.schematicdesignatorlocator", "Insert Schematic Designator Locator", {{0x10, 0}}, {16, 68}, {2300}, {}},
    {"insert.schematicsymbol", "Insert Schematic Symbol", {{0x20, 0}}, {83}, {2274}, {2274, kToWindow, 0, 0}},
    {"insert.schematicsymbolorigin", "Insert Schematic Symbol Origin", {{0x10, 0}}, {16, 83}, {2368}, {}},
    {"insert.spiral", "Insert Spiral", {{0x5, 0}}, {76}, {2281}, {}},
    {"insert.starearthtrack", "Insert Start Earth Track", {{0x1, 0}}, {}, {2483}, {}},
    {"insert.text", "Insert Text", {{0x35, 0}}, {88}, {265}, {}},
    {"insert.thermalbreak", "Insert Thermal Break", {{0x1, 0}}, {16, 66}, {359}, {}},
    {"insert.toplayer", "Insert Pad Top Layer", {{0x8, 0}}, {84}, {216}, {216, kToWindow, 0, 0}},
    {"insert.toppastemask", "Insert Pad Top Paste Mask", {{0x8, 0}}, {77}, {244}, {244, kToWindow, 0, 0}},
    {"insert.topsolderresist", "Insert Pad Top Solder Resist", {{0x8, 0}}, {82}, {245}, {245, kToWindow, 0, 0}},
    {"insert.userattributelocator", "Insert User Attribute Locator", {{0x30, 0}}, {16, 65}, {2349}, {}},
    {"insert.valuelocator", "Insert Value Locator", {{0x10, 0}}, {16, 86}, {2307}, {}},
    {"insert.via", "Insert Via", {{0x1, 0}, {0x1, 104}, {0x1, 1}}, {86}, {2432, 457}, {}},
    {"insert.wire", "Insert Wire", {{0x20, 0}}, {87}, {2275}, {}},
    {"edit.accept", "Accept", {{0x3f, -1}}, {13}, {425}, {}},
    {"edit.acceptoriginal", "Accept (Original Position)", {{0x3f, -1}}, {16, 13}, {}, {}},
    {"edit.acceptpolygon", "Accept Polygon", {{0x37, -1}}, {27}, {436}, {}},
    {"edit.acceptpolygonpoint", "Accept Polygon Point", {{0x37, -1}}, {13}, {}, {}},
    {"edit.attribute", "Edit Attribute", {{0x30, 39}}, {84}, {2355}, {2355, kToWindow, 0, 1}},
    {"edit.breakline", "Break Track", {{0x7, 0}}, {66}, {2253}, {}},
    {"edit.cancel", "Cancel", {{0x13f, -1}}, {27}, {424}, {}},
    {"edit.copy", "Copy", {{0x3f, -1}}, {17, 67}, {2257}, {}},
    {"edit.cut", "Cut", {{0x3f, -1}}, {17, 88}, {}, {}},
    {"edit.cyclecolour", "Cycle Colour", {{0x30, -1}}, {32}, {2360}, {}},
    {"edit.cyclelayer", "Cycle Layer", {{0x7, -1}}, {32}, {428}, {}},
    {"edit.cyclelineassist", "Cycle Angle Assist", {{0x37, -1}}, {65}, {295}, {}},
    {"edit.cycletypes", "Cycle Type", {{0x20, 71}, {0x20, 39}}, {70}, {2322}, {}},
    {"edit.decrementpadname", "Decrement Pad Name", {{0x4, 42}, {0x4, 32}}, {68}, {}, {}},
    {"edit.delete", "Delete", {{0x3f, -2}}, {46}, {427, 2258}, {}},
    {"edit.designator", "Edit Designator", {{0x1, 39}}, {84}, {}, {4007, kToWindow, 0, 1}},
    {"edit.editpackageattributes", "Edit Package Attributes", {{0x20, 39}, {0x20, 0}}, {119}, {2439}, {}},
    {"edit.editspiceattributes", "Edit Spice Attributes", {{0x20, 0}}, {}, {}, {}},
    {"edit.editsymbolattributes", "Edit Symbol Attributes", {{0x20, 39}, {0x21, 0}}, {118}, {2438}, {}},
    {"edit.export", "Export Object", {{0x2d, -1}}, {69}, {2382}, {}},
    {"edit.findflag", "Find Symbol Flag", {{0x1, 24}, {0x1, 39}}, {70}, {}, {}},
    {"edit.flipdirection", "Flip Direction", {{0x27, -1}}, {70}, {297}, {}},
    {"edit.incrementpadname", "Increment Pad Name", {{0x4, 42}, {0x4, 32}}, {73}, {}, {}},
    {"edit.insert", "Insert", {{0x37, -2}}, {45}, {}, {}},
    {"edit.loadnewshape", "Load New Layer Shape", {{0x8, -2}}, {76}, {}, {}},
    {"edit.mirror", "Mirror", {{0x35, -1}}, {16, 77}, {2354}, {}},
    {"edit.move", "Move Selection", {{0x37, 39}}, {77}, {426}, {426, kToFrame, 0, 0}},
    {"edit.nameselectedpads", "Name Selected Pads", {{0x4, 39}}, {78}, {462}, {}},
    {"edit.packageglobalnets", "Edit Package Global Nets", {{0x20, 39}, {0x20, 0}}, {16, 118}, {2441}, {}},
    {"edit.paste", "Paste", {{0x3f, -2}}, {17, 86}, {2270}, {}},
    {"edit.polygonaddpoint", "Add Polygon Point", {{0x37, 39}}, {65}, {2004}, {}},
    {"edit.removepolygonpoint", "Remove Polygon Point", {{0x3f, -1}}, {8}, {422}, {}},
    {"edit.ripuptrack", "Rip-up Track", {{0x3f, -1}}, {8}, {2447}, {}},
    {"edit.rotateanticlockwise", "Rotate Anticlockwise", {{0x3d, -1}}, {188}, {2006}, {}},
    {"edit.rotateclockwise", "Rotate Clockwise", {{0x3d, -1}}, {190}, {2005}, {}},
    {"edit.rotatesetangle", "Rotate (Set Angle)", {{0xd, -1}}, {191}, {2041}, {}},
    {"edit.setblindburiedoptions", "Set Blind/Buried Via Options", {{0x1, -1}}, {}, {2603}, {}},
    {"edit.setblockorigin", "Set Block Origin", {{0x37, 39}}, {75}, {437}, {}},
    {"edit.setcentroidangle", "Set Centroid Angle", {{0x4, -1}}, {65}, {2261}, {2261, kToFrame, 0, 1}},
    {"edit.setcolour", "Set Colour", {{0x30, -1}}, {67}, {2362}, {}},
    {"edit.setlargestwidth", "Set Largest Width", {{0x2f, -1}}, {35}, {2028}, {}},
    {"edit.setlayer", "Set Layer", {{0x5, -1}}, {76}, {2032}, {}},
    {"edit.setplanenet", "Set Plane Net", {{0x1, -2}}, {16, 65}, {2287, 2285}, {}},
    {"edit.setsmallestwidth", "Set Smallest Width", {{0x2f, -1}}, {36}, {2027}, {}},
    {"edit.string", "Edit String", {{0x35, 39}}, {84}, {432}, {432, kToWindow, 0, 1}},
    {"edit.toggledesignator", "Toggle Designator", {{0x1, 39}}, {16, 68}, {2003}, {}},
    {"edit.togglesecondaries", "Toggle Secondaries", {{0x37, -1}}, {68}, {2049, 438}, {}},
    {"edit.togglexalignment", "Cycle Alignment (X)", {{0x35, -1}}, {88}, {443}, {}},
    {"edit.toggleyalignment", "Cycle Alignment (Y)", {{0x35, -1}}, {89}, {444}, {}},
    {"edit.unnameselectedpads", "Un-name Selected Pads", {{0x4, 39}}, {82}, {439}, {}},
    {"edit.width", "Edit Size", {{0x3f, -1}}, {87}, {2029}, {}},
    {"tools.activatelinkededitor", "Activate Linked Editor", {{0x21, 0}}, {17, 223}, {2498}, {}},
    {"tools.addnetnode", "Net Editing (Add)", {{0x1, 0}}, {}, {2511}, {}},
    {"tools.centreoncursor", "Centre On Cursor", {{0x3f, -2}}, {80}, {262}, {}},
    {"tools.clearhighlights", "Clear Highlights", {{0xf, 0}}, {16, 118}, {450}, {}},
    {"tools.configuresimulation", "Configure Simulation", {{0x20, 0}}, {}, {2576}, {}},
    {"tools.convertindexedsizes", "Convert Indexed Sizes", {{0x1, 0}}, {}, {2656}, {}},
    {"tools.copyanddecrement", "Copy And Decrement", {{0x30, 0}}, {109}, {}, {}},
    {"tools.copyandincrement", "Copy And Increment", {{0x30, 0}}, {107}, {}, {}},
    {"tools.createnewpage", "Create New Page", {{0x20, 0}}, {17, 33}, {2289}, {2289, kToFrame, 0, 0}},
    {"tools.dalvery", "Launch Datasheet", {{0x21, 0}}, {}, {}, {}},
    {"tools.decreasewidth", "Decrease Width", {{0x3f, -1}}, {109}, {431}, {}},
    {"tools.dodrconnect", "Do DRC On Net", {{0x1, 0}}, {120}, {2288}, {}},
    {"tools.dolinkaction", "Update Link", {{0x21, 0}}, {123}, {2542, 2286}, {}},
    {"tools.findcomplimentaryobject", "Find Complimentary Object", {{0x21, 0}}, {16, 69}, {2396}, {}},
    {"tools.findsymbol", "Find Symbol", {{0x21, -2}}, {16, 70}, {2293, 2395}, {}},
    {"tools.fittowindow", "Fit To Window", {{0x3f, -2}}, {}, {2506}, {2506, kToFrame, 0, 0}},
    {"tools.fixalldatums", "Fix All Datums", {{0x5, 0}}, {}, {2384}, {2384, kToFrame, 1, 0}},
    {"tools.fixallplanes", "Fix All Planes", {{0x1, 0}}, {}, {2019}, {2019, kToFrame, 1, 0}},
    {"tools.fixallsymbols", "Fix All Symbols", {{0x1, 0}}, {}, {453}, {453, kToFrame, 1, 0}},
    {"tools.fixclosestsymbol", "Fix Closest Symbol", {{0x1, 0}}, {118}, {449}, {}},
    {"tools.forcescreenrefresh", "Refresh Screen", {{0x3f, 0}}, {16, 123}, {}, {}},
    {"tools.getsymbol", "Get Symbol", {{0x1, 0}}, {16, 75}, {2413}, {2413, kToWindow, 0, 0}},
    {"tools.gotocentroid", "Goto Centroid", {{0x4, 0}}, {}, {}, {}},
    {"tools.gotodatum", "Goto Datum", {{0x1, -2}}, {16, 68}, {2379}, {}},
    {"tools.gotofirstpage", "Goto First Page", {{0x20, 0}}, {36}, {4002}, {}},
    {"tools.gotolastpage", "Goto Last Page", {{0x20, 0}}, {35}, {4003}, {}},
    {"tools.gotonextdrcerror", "Goto Next DRC Error", {{0x3f, 0}}, {190}, {2405}, {}},
    {"tools.gotonextpage", "Goto Next Page", {{0x20, 0}}, {34}, {2344}, {2344, kToWindow, 0, 0}},
    {"tools.gotoorigin", "Goto Origin", {{0x3f, -2}}, {16, 79}, {266}, {}},
    {"tools.gotopadcentre", "Goto Pad Centre", {{0x5, -2}}, {16, 80}, {451}, {}},
    {"tools.gotopoint", "Goto Point", {{0x5, -2}}, {16, 74}, {2380}, {}},
    {"tools.gotopreviousdrcerror", "Goto Previous DRC Error", {{0x3f, 0}}, {188}, {2406}, {}},
    {"tools.gotopreviouspage", "Goto Previous Page", {{0x20, 0}}, {33}, {2345}, {2345, kToWindow, 0, 0}},
    {"tools.hideallratsnest", "Hide All Ratsnests", {{0x1, 0}}, {16, 34}, {2554}, {}},
    {"tools.hideratsnestbysymbol", "Hide Ratsnest By Symbol", {{0x1, 0}}, {33}, {2423}, {}},
    {"tools.hideratsnestnode", "Hide Ratsnest Node", {{0x1, 0}}, {36}, {2421}, {}},
    {"tools.highlightcopper", "Highlight Copper", {{0x1, -2}}, {17, 9}, {2267}, {}},
    {"tools.highlightdestination", "Highlight Destination", {{0x1, -2}}, {9}, {2266}, {}},
    {"tools.highlightnet", "Highlight Net", {{0x1, -2}}, {16, 9}, {2446}, {}},
    {"tools.highlightnetbyname", "Highlight Net By Name", {{0x1, 0}}, {}, {2548}, {2548, kToFrame, 1, 0}},
    {"tools.highlightoffangletracks", "Highlight Off-Angle Tracks", {{0x1, 0}}, {}, {2499}, {2499, kToFrame, 1, 0}},
    {"tools.highlightschematicnet", "Highlight Net (Schematic)", {{0x20, 0}}, {9}, {2267}, {}},
    {"tools.increasewidth", "Increase Width", {{0x3f, -1}}, {107}, {430}, {}},
    {"tools.joinlines", "Join Tracks", {{0xf, 0}}, {74}, {2254}, {}},
    {"tools.measure", "Measure", {{0x3f, 0}}, {16, 72}, {2392}, {}},
    {"tools.modifydatasheet", "Modify Datasheet", {{0x21, 0}}, {}, {}, {}},
    {"tools.movecursordown", "Move Cursor Down", {{0x3f, -2}}, {40}, {}, {}},
    {"tools.movecursorleft", "Move Cursor Left", {{0x3f, -2}}, {37}, {}, {}},
    {"tools.movecursorright", "Move Cursor Right", {{0x3f, -2}}, {39}, {}, {}},
    {"tools.movecursorup", "Move Cursor Up", {{0x3f, -2}}, {38}, {}, {}},
    {"tools.movepagedown", "Move Page Down", {{0x20, 0}}, {16, 34}, {2343}, {2343, kToFrame, 0, 0}},
    {"tools.movepageup", "Move Page Up", {{0x20, 0}}, {16, 33}, {2342}, {2342, kToFrame, 0, 0}},
    {"tools.openfunctioneditor", "Open Function Editor", {{0x10, 0}}, {70}, {470}, {}},
    {"tools.package", "Package Symbol", {{0x20, 0}}, {115}, {2351}, {}},
    {"tools.packageingate", "Package Symbol (In Gate)", {{0x20, 0}}, {16, 115}, {2442}, {}},
    {"tools.performdrc", "Perform DRC", {{0x2f, 0}}, {16, 120}, {441, 2377, 207, 235, 243}, {}},
    {"tools.placefromschematic", "Place From Schematic", {{0x20, 0}}, {16, 80}, {2410}, {}},
    {"tools.query", "Query Object", {{0x3d, -2}}, {81}, {448}, {}},
    {"tools.redo", "Redo", {{0x3f, 0}}, {16, 8}, {2273}, {}},
    {"tools.removeallinfoboxes", "Remove Info Boxes", {{0x3f, 0}}, {16, 119}, {2264}, {}},
    {"tools.removenetnode", "Net Editing (Remove)", {{0x1, 0}}, {}, {2512}, {}},
    {"tools.renamenetnode", "Net Editing (Rename)", {{0x1, 0}}, {}, {2513}, {}},
    {"tools.resetorigin", "Reset Origin", {{0x13d, -2}}, {114}, {461}, {}},
    {"tools.runsimulation", "Run Simulation", {{0x20, 0}}, {}, {2575}, {}},
    {"tools.save", "Save", {{0x7d, -2}}, {113}, {286}, {286, kToWindow, 0, 0}},
    {"tools.select", "Select", {{0x3f, 0}}, {32}, {2256}, {}},
    {"tools.selectgrid", "Select Grid", {{0x3f, -2}}, {71}, {298}, {298, kToFrame, 0, 0}},
    {"tools.setcornerradius", "Set Corner Radius", {{0x1, 0}}, {}, {2539}, {2539, kToFrame, 1, 0}},
    {"tools.setorigin", "Set Origin", {{0x13f, -2}}, {79}, {259}, {}},
    {"tools.settocorvanestandard", "Set To Corvane Standard", {{0x10, 0}}, {16, 74}, {2409}, {}},
    {"tools.showallratsnest", "Show All Ratsnests", {{0x1, 0}}, {16, 33}, {2553}, {}},
    {"tools.showhelp", "Help", {{0x7d, -2}}, {112}, {2043}, {}},
    {"tools.showonlyhighlighted", "Show Only Highlighted", {{0x1, -2}}, {121}, {}, {}},
    {"tools.showratsnestbysymbol", "Show Ratsnest By Symbol", {{0x1, 0}}, {34}, {2422}, {}},
    {"tools.showratsnestnode", "Show Ratsnest Node", {{0x1, 0}}, {35}, {2420}, {}},
    {"tools.togglebodyoutlines", "Toggle Display Body Outlines", {{0x1, 0}}, {}, {2614}, {}},
    {"tools.togglecursor", "Toggle Cursor Style", {{0x3f, -2}}, {}, {}, {}},
    {"tools.togglecursorlockx", "Toggle Mouse Lock (X)", {{0x3f, -2}}, {16, 88}, {}, {}},
    {"tools.togglecursorlocky", "Toggle Mouse Lock (Y)", {{0x3f, -2}}, {16, 89}, {}, {}},
    {"tools.togglegrid", "Toggle Grid", {{0x3f, -2}}, {16, 71}, {}, {}},
    {"tools.togglelinechevrons", "Toggle Line Chevrons", {{0x17, -2}}, {16, 115}, {}, {}},
    {"tools.togglepadtype", "Toggle Pad Type", {{0x8, 0}}, {83}, {}, {}},
    {"tools.toggleplacementoutlines", "Toggle Display Placement Outlines", {{0x1, 0}}, {}, {2616}, {}},
    {"tools.toggleplanes", "Toggle Planes", {{0x1, 0}}, {115}, {2022}, {}},
    {"tools.toggleradius", "Toggle Radius", {{0x1, 0}}, {16, 82}, {2538}, {}},
    {"tools.togglerubberbanding", "Toggle Rubberbanding", {{0x35, 0}}, {}, {}, {}},
    {"tools.togglestatusunits", "Toggle Units", {{0x3f, -2}}, {16, 85}, {}, {}},
    {"tools.tracelength", "Trace Length", {{0x1, 0}}, {}, {2625}, {}},
    {"tools.undo", "Undo", {{0x3f, 0}}, {8}, {2271}, {}},
    {"tools.unfixalldatums", "Unfix All Datums", {{0x5, 0}}, {}, {2385}, {2385, kToFrame, 1, 0}},
    {"tools.unfixallplanes", "Unfix All Planes", {{0x1, 0}}, {}, {2020}, {2020, kToFrame, 1, 0}},
    {"tools.unfixallsymbols", "Unfix All Symbols", {{0x1, 0}}, {}, {454}, {454, kToFrame, 1, 0}},
    {"tools.unfixclosestsymbol", "Unfix Closest Symbol", {{0x1, 0}}, {119}, {2252}, {}},
    {"tools.updateioports", "Update IO Ports", {{0x20, 0}}, {120}, {2331}, {}},
    {"tools.viewpcb3d", "View 3D", {{0x1, 0}}, {}, {2571}, {}},
    {"tools.zoomin", "Zoom In", {{0x13f, -2}}, {90}, {260}, {}},
    {"tools.zoomout", "Zoom Out", {{0x13f, -2}}, {85}, {261}, {}},
    {"windows.minimisemaximise", "Toggle Window Size", {{0x7d, -2}}, {116}, {343}, {343, kToFrame, 0, 0}},
    {"windows.next", "Next Window", {{0x7d, -2}}, {117}, {318}, {318, kToFrame, 0, 0}},
};

constexpr std::size_t kBuiltinCount = sizeof kBuiltinCommands / sizeof kBuiltinCommands[0];

std::uint32_t ActiveKind() { return ActiveWindowData ? ActiveWindowData->editorKind : 0; }
std::uint32_t ActiveMode() { return ActiveWindowData ? ActiveWindowData->EditMode : 0; }

std::uint32_t KindsOf(const BuiltinCommand& command) {
  std::uint32_t kinds = 0;
  for (const Registration& r : command.registrations) kinds |= r.kindMask;
  return kinds;
}

void SendCommand(HWND window, std::uint8_t target, std::uint16_t id, bool code1) {
  SendMessage(target == kToFrame ? FrameWindow : window, WM_COMMAND, MAKEWPARAM(id, code1 ? 1 : 0), 0);
}

bool Is(const BuiltinCommand& command, std::string_view name) { return name == command.name; }

// A refusal shown when the owner reports that the command cannot act.
struct Refusal {
  const char* name;
  const char* text;
  const char* caption;
};
constexpr Refusal kRefusals[] = {
    {"insert.centroid", "A centroid has already been placed for this symbol.", "Insert Centroid"},
    {"insert.pcbdesignatorlocator", "A designator locator has already been placed on this symbol.",
     "Insert Designator Locator"},
    {"insert.pin", "Cannot insert pin - no unplaced pins exist.", "Error Inserting Pin"},
};

// Resends that depend on the active window's kind; kinds not listed go to
// the command's owner. `cancelFirst`: the current operation ends first.
struct KindResend {
  const char* name;
  std::uint32_t kinds;
  std::uint16_t id;
  std::uint8_t target;
  std::uint8_t cancelFirst;
};
constexpr KindResend kKindResends[] = {
    {"edit.setlargestwidth", 1 | 2 | 4 | 8, 2028, kToFrame, 0},
    {"edit.setlargestwidth", 16 | 32, 2318, kToFrame, 0},
    {"edit.setsmallestwidth", 1 | 2 | 4 | 8, 2027, kToFrame, 0},
    {"edit.setsmallestwidth", 16 | 32, 2317, kToFrame, 0},
    {"tools.increasewidth", 1 | 2 | 4, 430, kToFrame, 0},
    {"tools.increasewidth", 16 | 32, 2315, kToFrame, 0},
    {"tools.decreasewidth", 1 | 2 | 4, 431, kToFrame, 0},
    {"tools.decreasewidth", 16 | 32, 2316, kToFrame, 0},
    {"tools.gotonextdrcerror", 2, 2405, kToFrame, 0},
    {"tools.gotopreviousdrcerror", 2, 2406, kToFrame, 0},
    {"tools.togglepadtype", 8, 229, kToWindow, 1},
    {"tools.toggleplanes", 1, 2022, kToWindow, 1},
    {"tools.performdrc", 1, 441, kToWindow, 0},
    {"tools.gotolastpage", 16 | 32, 4003, kToWindow, 0},
};

// The insert tools: each ends the current operation, then selects its tool
// and starts an item at the cursor. `flag` is the line flag (16 star earth
// track, 32 board outline, 64 plated slot, 128 non-plated slot), the arc
// flag (4 board outline) or the locator kind, 0 for none.
struct InsertTool {
  const char* name;
  std::uint32_t flag;
};
constexpr InsertTool kInsertTools[] = {
    {"insert.arc.centre", 0},
    {"insert.arc.ends", 0},
    {"insert.boardoutline.arc.centre", 4},
    {"insert.boardoutline.arc.ends", 4},
    {"insert.boardoutline.line", 32},
    {"insert.bus", 0},
    {"insert.centroid", 0},
    {"insert.circle", 0},
    {"insert.ioport", 9},
    {"insert.line", 0},
    {"insert.linkedcut", 0},
    {"insert.namedioport", 15},
    {"insert.netnamelocator", 3},
    {"insert.nonplatedhole", 0},
    {"insert.nonplatedslot", 128},
    {"insert.pinnamelocator", 4},
    {"insert.pinnumberlocator", 1},
    {"insert.platedhole", 0},
    {"insert.platedslot", 64},
    {"insert.polycut", 0},
    {"insert.polygon", 0},
    {"insert.polykeepout", 0},
    {"insert.polyplane", 0},
    {"insert.rectangle", 0},
    {"insert.schematicdesignatorlocator", 6},
    {"insert.spiral", 0},
    {"insert.starearthtrack", 16},
    {"insert.text", 0},
    {"insert.thermalbreak", 0},
    {"insert.valuelocator", 10},
    {"insert.via", 0},
    {"insert.wire", 0},
};

const InsertTool* FindInsertTool(const char* name) {
  for (const InsertTool& tool : kInsertTools)
    if (std::string_view(name) == tool.name) return &tool;
  return nullptr;
}

std::uint32_t StartInsertTool(const InsertTool& tool, HWND window, void* view, void* state) {
  HDC dc = GetViewDC(window);
  CancelCurrentOperation(window, state);
  BeginInsertTool(tool.name, tool.flag, window, view, state);
  ReleaseViewDC(window, dc);
  return 1;
}

std::uint32_t Operation(const char* operation, HWND window, void* view, void* state, std::uint32_t parameter) {
  std::uint32_t result = 0;
  if (PerformBuiltOperation(operation, window, &result)) return result;
  return PerformCommandOperation(operation, window, view, state, parameter);
}

// Commands whose handlers do more than hand the command to its owner.
// Returns -1 when the command has no such rule here.
int SpecialCommand(const BuiltinCommand& c, HWND window, void* view, void* state, std::uint32_t parameter) {
  const std::uint32_t kind = ActiveKind();
  const std::uint32_t mode = ActiveMode();
  // Help opens, but later records bound to the same keys still run.
  if (Is(c, "tools.showhelp")) {
    Operation(c.name, window, view, state, parameter);
    return 0;
  }
  if ((Is(c, "tools.zoomin") || Is(c, "tools.zoomout")) && kind == 256) {
    SendMessage(window, WM_MOUSEWHEEL, Is(c, "tools.zoomin") ? 0x10000 : 0, 0);
    return 0;
  }
  if (Is(c, "tools.dolinkaction")) return 1;
  if (Is(c, "insert.namedioport") && kind != 32) return 0;
  if (Is(c, "edit.mirror") && kind == 16) return 0;
  if (Is(c, "edit.flipdirection") && kind == 32) {
    SendCommand(window, kToFrame, 297, false);
    return 0;
  }
  if (Is(c, "edit.acceptpolygonpoint") && mode == 109) {
    Operation("edit.acceptpolygonpoint.measure", window, view, state, parameter);
    return 0;
  }
  if (Is(c, "edit.cancel")) {
    // A polygon being entered (or the one selected) leaves Esc to Accept Polygon.
    if (CommandPrecondition("edit.cancel.polygon", window, state)) return 0;
    CancelCurrentOperation(window, state);
    return 1;
  }
  if (Is(c, "tools.addnetnode") || Is(c, "tools.removenetnode") || Is(c, "tools.renamenetnode")) {
    if (!CommandPrecondition("netediting", window, state)) {
      MessageBeep(MB_ICONEXCLAMATION);
      AddWindowConsoleMessage(window, "You need to enable the net editing option.", 6);
      return 1;
    }
    return static_cast<int>(Operation(c.name, window, view, state, parameter));
  }
  if (Is(c, "edit.incrementpadname") || Is(c, "edit.decrementpadname")) {
    // No pad under edit: handled without acting.
    if (!CommandPrecondition(c.name, window, state)) return 1;
    if (!Operation(c.name, window, view, state, parameter))
      ShowMessageEx(FrameWindow,
                    Is(c, "edit.incrementpadname") ? "Can't increment pad name" : "Can't decrement pad name",
                    "Warning", MB_ICONINFORMATION);
    return 1;
  }
  if (Is(c, "tools.gotopadcentre")) {
    if (!Operation(c.name, window, view, state, parameter)) MessageBeep(0);  // no pad centre near the cursor
    return 1;
  }
  if (Is(c, "tools.findsymbol")) {
    if (!CommandPrecondition(c.name, window, state)) {
      ShowMessage(window, kind == 1 ? "No symbols have been placed" : "No symbols have been packaged", "Find Symbol");
      return 1;
    }
    return static_cast<int>(Operation(c.name, window, view, state, parameter));
  }
  if (Is(c, "tools.runsimulation")) {
    if (!CommandPrecondition(c.name, window, state)) {
      MessageBox(window, "You must configure spice before running a simulation.", "Pelmora3", 0);
      return 1;
    }
    return static_cast<int>(Operation(c.name, window, view, state, parameter));
  }
  for (const Refusal& refusal : kRefusals) {
    if (!Is(c, refusal.name)) continue;
    if (!CommandPrecondition(c.name, window, state)) {
      ShowMessage(window, refusal.text, refusal.caption);
      return 1;
    }
    if (const InsertTool* tool = FindInsertTool(c.name)) return static_cast<int>(StartInsertTool(*tool, window, view, state));
    return static_cast<int>(Operation(c.name, window, view, state, parameter));
  }
  return -1;
}

std::uint32_t RunBuiltinCommand(const BuiltinCommand& c, HWND window, void* view, void* state,
                                std::uint32_t parameter) {
  if (!(KindsOf(c) & ActiveKind())) return 0;
  const int special = SpecialCommand(c, window, view, state, parameter);
  if (special >= 0) return static_cast<std::uint32_t>(special);
  for (const KindResend& r : kKindResends) {
    if (!Is(c, r.name) || !(r.kinds & ActiveKind())) continue;
    if (r.cancelFirst) CancelCurrentOperation(window, state);
    SendCommand(window, r.target, r.id, false);
    return 1;
  }
  if (c.resend.id) {
    if (c.resend.gated && !CommandPrecondition(c.name, window, state)) return 0;
    SendCommand(window, c.resend.target, c.resend.id, c.resend.code1 != 0);
    return 1;
  }
  if (const InsertTool* tool = FindInsertTool(c.name)) {
    // A via while a track is being added goes at the track's end instead.
    if (Is(c, "insert.via") && ActiveMode() != 0) return Operation("insert.via.trackend", window, view, state, parameter);
    // A pad stack takes one plated hole.
    if (Is(c, "insert.platedhole") && !CommandPrecondition(c.name, window, state)) return 0;
    return StartInsertTool(*tool, window, view, state);
  }
  return Operation(c.name, window, view, state, parameter);
}

template <std::size_t Row>
std::uint32_t BuiltinCommandHandler(HWND window, void* view, void* state, std::uint32_t parameter) {
  return RunBuiltinCommand(kBuiltinCommands[Row], window, view, state, parameter);
}

// The datasheet commands share one handler: the user parameter picks the
// launch (1) or the modify (0) export.
std::uint32_t DatasheetCommand(HWND window, void* view, void* state, std::uint32_t parameter) {
  const std::uint32_t kind = ActiveKind();
  if (kind != 1 && kind != 32) return 0;
  return Operation("tools.dalvery", window, view, state, parameter);
}

template <std::size_t... Rows>
constexpr std::array<CommandHandler, kBuiltinCount> MakeHandlers(std::index_sequence<Rows...>) {
  return {&BuiltinCommandHandler<Rows>...};
}
constexpr std::array<CommandHandler, kBuiltinCount> kHandlers = MakeHandlers(std::make_index_sequence<kBuiltinCount>());

bool IsDatasheetCommand(const BuiltinCommand& c) { return Is(c, "tools.dalvery") || Is(c, "tools.modifydatasheet"); }

CommandHandler HandlerOf(std::size_t row) {
  return IsDatasheetCommand(kBuiltinCommands[row]) ? &DatasheetCommand : kHandlers[row];
}

std::size_t CountOf(const std::uint16_t (&codes)[3]) {
  std::size_t n = 0;
  while (n < 3 && codes[n]) ++n;
  return n;
}

void RegisterBuiltinCommands() {
  for (std::size_t row = 0; row < kBuiltinCount; ++row) {
    const BuiltinCommand& c = kBuiltinCommands[row];
    const std::uint32_t parameter = Is(c, "tools.dalvery") ? 1 : 0;
    for (const Registration& r : c.registrations)
      if (r.kindMask) AddCommand(c.name, c.caption, r.kindMask, r.toolMode, HandlerOf(row), parameter);
    for (std::uint16_t id : c.menuIds)
      if (id) BindCommandMenuId(c.name, id);
  }
  for (const BuiltinCommand& c : kBuiltinCommands) {
    const std::size_t n = CountOf(c.keys);
    if (n) SetCommandKeyCodes(&LiveCommandTable, c.name, static_cast<std::uint32_t>(n), c.keys);
  }
}

void RegisterZoomLevels() {
  for (int i = 0; i <= 9; ++i) {
    char name[32], caption[32];
    const int level = i ? i : 10;
    std::snprintf(name, sizeof name, "tools.zoomlevel.%d", level);
    std::snprintf(caption, sizeof caption, "Zoom To Level %d", level);
    AddCommand(name, caption, 63, kToolModeAny, &ZoomToLevelCommand, static_cast<std::uint32_t>(0x30 + level - 1));
    SetCommandKey(&LiveCommandTable, name, static_cast<std::uint16_t>(0x30 + i));
  }
}

void RegisterScriptCommands() {
  for (std::uint32_t i = 0; i < ScriptListCount(); ++i) {
    std::uint32_t editor = 0;
    const char* fileName = nullptr;
    const char* path = nullptr;
    if (!GetScriptListEntry(i, &editor, &fileName, &path)) break;
    // The script list holds only these two kinds; anything else is skipped.
    if (editor != 1 && editor != 2) continue;
    const char* word = editor == 1 ? "PCB" : "Schematic";
    std::string name = std::string("script.run.") + word + "." + fileName;
    for (char& ch : name)
      if (ch == ' ') ch = '_';
    const std::string caption = std::string("Run ") + word + " Script \"" + fileName + "\"";
    AddCommand(name.c_str(), caption.c_str(), editor == 1 ? 1 : 32, kToolModeIdle, &RunScriptCommand, i);
  }
}

}  // namespace

std::uint32_t ZoomToLevelCommand(HWND window, void* view, void* state, std::uint32_t parameter) {
  std::uint32_t firstWord = 0;
  if (view) std::memcpy(&firstWord, view, sizeof firstWord);
  ZoomToLevel(window, state, parameter, firstWord);
  return 1;
}

std::uint32_t RunScriptCommand(HWND, void*, void*, std::uint32_t parameter) {
  std::uint32_t editor = 0;
  const char* fileName = nullptr;
  const char* path = nullptr;
  if (GetScriptListEntry(parameter, &editor, &fileName, &path)) RunScriptFile(path);
  return 1;
}

BuiltinHandler FindBuiltinCommandHandler(const char* name) {
  for (std::size_t row = 0; row < kBuiltinCount; ++row)
    if (name && std::string_view(name) == kBuiltinCommands[row].name) return HandlerOf(row);
  return nullptr;
}

void RegisterCommands() {
  FreeCommandTables();
  RegisterBuiltinCommands();
  RegisterZoomLevels();
  RegisterScriptCommands();
  // The bindings file lies in the configuration folder; without one there is
  // no file to read or keep.
  const char* folder = DirectoryBuffer(ConfigurationFolder);
  if (folder && *folder) {
    const std::string path = std::string(folder) + "\\accelerators.txt";
    ReadAcceleratorsFile(path.c_str());
    WriteAcceleratorsFile(&LiveCommandTable, path.c_str());
  }
  SortCommandTable();
  BuildCommandMenuIndex();
  SortCommandMenuIndex();
}
