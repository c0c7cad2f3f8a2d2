#pragma once
// The words for a program that cannot be started as it is: a batch file's argument that cmd.exe
// would change (core/BatchCommand.h), a folder.

#include "Language.h"
#include "core/BatchCommand.h"

#include <string>

// "argument 2 "a%PATH%" cannot be handed to the batch file "run.bat" as it is: ..."; program as
// the user named it.
std::string BatchRefusalText(const Words& w, const std::string& program,
                             const BatchRefusal& refusal, const std::string& argument);

// The reason said for a program that is a folder: the system's own words name no folder.
std::string FolderText(const Words& w);
