#pragma once
#include "framework/Handles.h"

// One page of the Viewer's document. It is a placeholder until it first becomes current; from then on it is
// loaded, holding its packed bitmap or, when decoding failed, nothing for as long as the document is open.
struct FaxPage {
    CGlobalBlock image;
    bool loaded = false;
    bool smoothed = false;  // the image is the smoothed (grey) version of the page
};
