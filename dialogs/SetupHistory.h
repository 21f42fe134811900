// The "History" window of a device: the operator's steps on it, the newest first, each as a
// line of text with its time, and last a line for the point before them all. The line of the
// point the device is at is selected; steps after it were undone. Clicking another line goes
// to that point: the dialog hands the line to its caller, which undoes or redoes the steps
// between and gives the lines as they are then.
//
// Use: fill `lines`, `currentLine` and `goToLine`; DoModal(). The dialog changes nothing itself.
#pragma once

#include "framework/Dialog.h"

#include <functional>
#include <string>
#include <vector>

class CSetupHistory : public CDialog {
public:
    static constexpr int kListId = 1400;

    // The lines and the selected one.
    struct Lines {
        std::vector<std::string> lines;
        int currentLine = -1;
    };

    // `device` is the device slot, 0..15.
    explicit CSetupHistory(int device);

    Lines lines;
    // Goes to the point of line `line` and returns the lines then.
    std::function<Lines(int line)> goToLine;

protected:
    void CreateControls() override;
    bool OnInitDialog() override;
    void OnListSelChange(int id) override;

private:
    void ShowLines();

    CListBox list_;
};
