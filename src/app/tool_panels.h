// The widgets of the four tool panels (settings, modeling, texture mapping,
// animation) that the commands and refreshes recognise.
#pragma once

#include <vector>

namespace morvanex {

class ControleGroupe;
class Control3d;
class Onglets;

struct ToolPanelWidgets {
    Onglets* settingsTabs = nullptr;
    Onglets* modelingTabs = nullptr;
    Control3d* groupSelectionTool = nullptr;  // "UI\saisiegroupe.dds"
    Control3d* gridTool = nullptr;            // "UI\grille.dds"
    Control3d* tubeTool = nullptr;            // "UI\tubage.dds" of the modeling panel
    Control3d* surfaceTool = nullptr;         // "UI\surfaceur.dds" of the modeling panel
    Control3d* undoButton = nullptr;          // label 151
    Control3d* redoButton = nullptr;          // label 152
    Control3d* deleteObjectButton = nullptr;  // label 150
    std::vector<ControleGroupe*> toolGroups;  // the exclusive groups of the tool buttons
};

}  // namespace morvanex
