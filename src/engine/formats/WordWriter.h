#pragma once
// Word documents are written as RTF, which Word and other office suites open under
// the .doc name.

#include "RtfWriter.h"

class WordWriter : public RtfWriter {};
