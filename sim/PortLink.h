#pragma once

#include <string>

// Links target as comN in the port folder, which is made when missing.
// portNumber 0 takes the lowest free N from 1; a given N may replace only a
// link whose device is gone. Returns N, or 0 with error set.
int LinkPort(const std::string &target, int portNumber, std::string &error);

// The path of comN in the port folder.
std::string PortLinkPath(int portNumber);

// Points an existing link at a new target in one step.
bool RetargetLink(const std::string &linkPath, const std::string &target);

// Removes the link if it still points at target, so that another program's
// link of the same name is left alone.
void RemoveLinkTo(const std::string &linkPath, const std::string &target);
