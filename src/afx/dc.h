// Device contexts: CPaintDC begins the painting of a window and ends it when it goes.
#pragma once

#include "win/paint.h"
#include "win/types.h"

class CWnd;

class CDC {
  public:
    CDC() = default;
    virtual ~CDC() = default;
    CDC(const CDC&) = delete;
    CDC& operator=(const CDC&) = delete;

    win::HDC GetSafeHdc() const { return m_hDC; }
    win::BOOL DrawIcon(int x, int y, win::HICON icon);
    win::BOOL DrawIcon(win::POINT point, win::HICON icon) {
        return DrawIcon(point.x, point.y, icon);
    }

    win::HDC m_hDC = nullptr;
};

class CPaintDC : public CDC {
  public:
    explicit CPaintDC(CWnd* wnd);
    ~CPaintDC() override;

    win::PAINTSTRUCT m_ps;

  private:
    win::HWND window_;
};
