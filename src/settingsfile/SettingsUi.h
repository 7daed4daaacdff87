// The interface installed with SetSettingsFileUi, or one that shows nothing.
#pragma once

class SettingsFileUi;

SettingsFileUi& CurrentSettingsFileUi();
