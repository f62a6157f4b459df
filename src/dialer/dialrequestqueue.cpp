#include "dialer/dialrequestqueue.h"

#include <algorithm>

namespace {
using Window = CDialRequestQueue::Window;
using Request = CDialRequestQueue::Request;
using Answer = CDialRequestQueue::Answer;

bool IsFinished(Window open)
{
    return open == Window::MailCheckDone || open == Window::UpgradeCheckDone ||
           open == Window::DialDone;
}

bool IsDialUnderWay(Window open)
{
    return open == Window::DialRunning || open == Window::Credentials;
}

bool IsDial(Request request)
{
    return request == Request::ProgramDial || request == Request::HandDial;
}

// The check of the same kind as the request, running or finished.
bool IsSameCheck(Window open, Request request)
{
    if (request == Request::MailCheck)
        return open == Window::MailCheckRunning || open == Window::MailCheckDone;
    if (request == Request::UpgradeCheck)
        return open == Window::UpgradeCheckRunning || open == Window::UpgradeCheckDone;
    return false;
}
} // namespace

CDialRequestQueue::Answer CDialRequestQueue::Decide(Window open, Request request)
{
    if (open == Window::None)
        return Answer::Start;
    if (IsSameCheck(open, request))
        return Answer::Absorb;
    if (IsFinished(open))
        return Answer::Replace;
    if (request == Request::HandDial)
        return Answer::Absorb;
    if (request == Request::ProgramDial && IsDialUnderWay(open))
        return Answer::Absorb;
    return Answer::Wait;
}

CDialRequestQueue::Answer CDialRequestQueue::Ask(Window open, Request request,
                                                 std::function<void()> run)
{
    const Answer answer = Decide(open, request);
    if (answer == Answer::Wait) {
        if (!IsWaiting(request))
            m_waiting.push_back({request, std::move(run)});
    } else if (answer == Answer::Start || answer == Answer::Replace) {
        if (IsDial(request))
            Drop(Request::ProgramDial);
        else
            Drop(request);
    }
    return answer;
}

std::function<void()> CDialRequestQueue::TakeNext()
{
    if (m_waiting.empty())
        return {};
    std::function<void()> run = std::move(m_waiting.front().run);
    m_waiting.erase(m_waiting.begin());
    return run;
}

bool CDialRequestQueue::IsWaiting(Request request) const
{
    return std::any_of(m_waiting.begin(), m_waiting.end(),
                       [request](const Waiting& waiting) { return waiting.request == request; });
}

void CDialRequestQueue::Drop(Request request)
{
    std::erase_if(m_waiting,
                  [request](const Waiting& waiting) { return waiting.request == request; });
}
