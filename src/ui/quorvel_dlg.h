// The main window and the holder of a run's state: the socket, the session id, the device
// table and the panel. It is also the owner of the worker thread, whose processing operation
// receives and handles the devices' replies.
#pragma once

#include <atomic>
#include <cstdint>
#include <span>
#include <string>
#include <vector>

#include "afx/afx.h"
#include "platform/sockets.h"
#include "protocol/credentials.h"
#include "protocol/device_record.h"
#include "thread/base_thread.h"

class CQuorvelDlg : public CDialog, public CBaseThread<1> {
  public:
    static constexpr int kRows = 3;

    explicit CQuorvelDlg(CWnd* pParent = nullptr);
    ~CQuorvelDlg() override;

    enum { IDD = 102 };

    // Receive step (worker thread).
    void ProcessThread(int index) override;
    void ShowModifyResult(const char* text);
    void ShowRebootResult(const char* text);

    // Stores a device-information reply and lists the device once (UI thread). `payload` is
    // what follows the header, with its real length; bytes past it read as zero.
    void AddDevice(const char* sourceAddress, std::span<const std::uint8_t> payload);

    // The panel (UI thread).
    void ResetNicRow(int row, BOOL clear, BOOL enable);
    void SetNicRowData(int row, CString name, CString ip, CString mask, CString gateway,
                       int obtainAutomatically);
    void SetDnsData(CString preferred, CString alternate);

    // The texts of a row and of the DNS row in code page 936, from the bound strings.
    void GetNicRow(int row, std::string& name, std::string& ip, std::string& mask,
                   std::string& gateway, int& obtainAutomatically) const;
    void GetDnsSettings(std::string& preferred, std::string& alternate,
                        int& obtainAutomatically) const;

  protected:
    void DoDataExchange(CDataExchange* pDX) override;
    BOOL OnInitDialog() override;

    afx_msg void OnSysCommand(UINT nID, LPARAM lParam);
    afx_msg void OnPaint();
    afx_msg HCURSOR OnQueryDragIcon();
    afx_msg void OnBnClickedSearch();
    afx_msg void OnLbnSelchangeList();
    afx_msg void OnBnClickedAuto1();
    afx_msg void OnBnClickedAuto2();
    afx_msg void OnBnClickedAuto3();
    afx_msg void OnBnClickedModify();
    afx_msg void OnBnClickedReboot();
    afx_msg void OnBnClickedDnsAuto();
    afx_msg void OnLbnDblclkList();
    DECLARE_MESSAGE_MAP()

  public:
    HICON m_hIcon;
    plat::SOCKET m_sock = plat::INVALID_SOCKET;
    CListBox m_list;
    DWORD m_dwSessionId = 0;
    protocol::DeviceTable m_devices;
    std::atomic<plat::BOOL> m_bResultShown = 0;
    CEdit m_editName[kRows];
    CIPAddressCtrl m_ipAddr[kRows];
    CIPAddressCtrl m_ipMask[kRows];
    CIPAddressCtrl m_ipGateway[kRows];
    CButton m_chkAuto[kRows];
    CString m_strName[kRows];
    CString m_strIp[kRows];
    CString m_strMask[kRows];
    CString m_strGateway[kRows];
    CIPAddressCtrl m_ipDns1;
    CIPAddressCtrl m_ipDns2;
    CButton m_chkDnsAuto;
    CString m_strDns1;
    CString m_strDns2;

  private:
    // Device-information replies go from the worker to the UI thread without the worker
    // waiting. What is on the way is bounded in bytes (each reply costs its payload and a fixed
    // share for its hand-over); a reply beyond the bound is dropped. A search's worth of
    // replies of 200 devices takes well under 1 MiB.
    static constexpr std::size_t kHandOverBudgetBytes = 16 * 1024 * 1024;
    static constexpr std::size_t kHandOverCostPerReply = 256;

    // One receive and its checks; false when the receive failed.
    bool ReceiveAndHandle();
    void HandOverDevice(const char* sourceAddress, std::span<const std::uint8_t> payload);
    // The credential dialog; false when it was cancelled.
    bool AskCredentials(protocol::Credentials& credentials);
    // Sends to every address; the sender's result (-1: no adapter list or no socket).
    int SendRequest(const std::vector<std::uint8_t>& request);
    void OnBnClickedAuto(int row);

    std::atomic<std::size_t> m_nBytesOnTheWay = 0;
    // Counts the searches. A reply received before a search emptied the list belongs to the
    // emptied list: it is dropped when its turn on the UI thread comes after that search.
    std::atomic<unsigned> m_nSearch = 0;
};
