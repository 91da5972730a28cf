#!/usr/bin/env python3
"""Loads an HTML page in headless Chromium and checks that it stands on its own.

    browsercheck.py --html PAGE [--chromium PATH] [--expect-sections N]
                    [--expect-contents] [--expect-text TEXT]... [--pdf OUT.pdf]
                    [--screenshot OUT.png] [--style-outline OUT.txt]
                    [--timeout SECONDS]

The page fails when the browser logs an error (console.error, an uncaught
exception, a resource it could not load), when it asks for anything but its own
file (data: URLs are allowed and listed), or when Chromium's print to PDF loses
what the page shows: every section heading and every expected text must be in
the PDF's text, and the page must hold the expected number of sections and,
when asked, contents that lead to each of them.

--style-outline writes what the page's style sheets say, without their values
(each rule's kind, selector and property names, nested rules indented), and
how the title page and the page itself look (shown, background, colour): two
pages whose texts differ but whose style is the same give the same outline.

Exit status: 0 when every check holds, 1 when a check fails (each reason on a
line starting "FAIL:"), 2 when the check could not be run (no Chromium, a
timeout, a crash, bad arguments).

Chromium is driven over its DevTools pipe (fds 3 and 4, NUL-terminated JSON),
so no port is opened and nothing else on the machine can talk to it.
"""

import argparse
import base64
import ctypes
import json
import os
import pathlib
import queue
import re
import shutil
import signal
import subprocess
import sys
import tempfile
import threading
import time
import unicodedata
import urllib.parse

SECTION_SELECTOR = "section.report-section"

# Run in the page: the sections and the headings they start with, and the
# whole text, as the reader sees them (innerText follows text-transform and
# skips hidden text).
READ_PAGE = """
({
  sections: Array.from(document.querySelectorAll(%s)).map(section => {
    const first = section.firstElementChild;
    return {
      id: section.id,
      heading: first && first.tagName === 'H1' ? first.innerText : null,
    };
  }),
  text: document.body ? document.body.innerText : '',
  contents: Array.from(document.querySelectorAll('nav.contents')).map(
    nav => Array.from(nav.querySelectorAll('a[href]')).map(a => a.getAttribute('href'))),
  ids: Array.from(document.querySelectorAll('[id]')).map(element => element.id),
})
""" % json.dumps(SECTION_SELECTOR)

# Run in the page: the outline --style-outline writes.  Margin rules inside
# @page are listed when the browser exposes them.
STYLE_OUTLINE = """
(() => {
  const lines = [];
  const walk = (rules, depth) => {
    for (const rule of rules) {
      const head = rule.selectorText !== undefined ? rule.selectorText
                 : rule.name !== undefined ? '@' + rule.name
                 : rule.cssText.split('{')[0].trim();
      const names = rule.style ? Array.from(rule.style).join(',') : '';
      lines.push('  '.repeat(depth) + rule.constructor.name + ' ' + head + ' {' + names + '}');
      if (rule.cssRules)
        walk(rule.cssRules, depth + 1);
    }
  };
  for (const sheet of document.styleSheets)
    walk(sheet.cssRules, 0);
  for (const selector of ['html', 'body', '.title-page', '.title-page .client', 'nav.contents']) {
    const element = document.querySelector(selector);
    if (!element) {
      lines.push(selector + ': missing');
      continue;
    }
    const style = getComputedStyle(element);
    const box = element.getBoundingClientRect();
    lines.push(selector + ': display ' + style.display + ', visibility ' + style.visibility
               + ', shown ' + (box.width > 0 && box.height > 0) + ', background ' + style.backgroundColor
               + ', colour ' + style.color);
  }
  return lines.join('\\n') + '\\n';
})()
"""

# Lets anything the load event set off (timers, late images, fonts) happen
# before the page is judged.
SETTLE = """
new Promise(done => document.fonts.ready.then(
  () => requestAnimationFrame(() => setTimeout(done, 250))))
"""


class CannotRun(Exception):
    """The check could not be carried out; says nothing about the page."""


def squeeze(text):
    """Text as the PDF and the page can both give it: the PDF's text breaks
    lines where the page wraps, and may spell a ligature as one character."""
    text = unicodedata.normalize("NFKC", text.replace("\u00ad", ""))
    return re.sub(r"\s+", " ", text).strip()


class Browser:
    """A headless Chromium on the DevTools pipe, with one page attached."""

    def __init__(self, chromium, profile, log):
        to_browser_r, self._to_browser = os.pipe()
        self._from_browser, from_browser_w = os.pipe()

        def wire_pipe_fds():
            # dup2 onto 3 and 4 may overwrite one of the originals when it
            # happens to be 3 or 4 itself, so move both out of the way first.
            r = os.dup(to_browser_r)
            w = os.dup(from_browser_w)
            os.dup2(r, 3, inheritable=True)
            os.dup2(w, 4, inheritable=True)
            # Nothing else of ours reaches Chromium: were it to hold the
            # write end of its own input, it would never see that end close.
            os.closerange(5, os.sysconf("SC_OPEN_MAX"))
            # Should this script be killed outright, Chromium goes with it.
            PR_SET_PDEATHSIG = 1
            ctypes.CDLL(None, use_errno=True).prctl(PR_SET_PDEATHSIG, signal.SIGKILL)

        args = [
            chromium,
            "--headless",
            "--remote-debugging-pipe",
            "--user-data-dir=" + profile,
            "--no-first-run",
            "--no-default-browser-check",
            "--disable-gpu",
            "--disable-extensions",
            "--disable-background-networking",
            "--disable-component-update",
            "--disable-sync",
            "--disable-default-apps",
            "--metrics-recording-only",
            "--mute-audio",
            "--hide-scrollbars",
            "--window-size=1280,1000",
            # Chromium's sandbox refuses to run as root and fails in containers
            # without user namespaces; the page checked is the suite's own file.
            "--no-sandbox",
        ]
        try:
            self.process = subprocess.Popen(
                args,
                stdin=subprocess.DEVNULL,
                stdout=log,
                stderr=log,
                preexec_fn=wire_pipe_fds,
                start_new_session=True,
                close_fds=False,
            )
        except OSError as error:
            raise CannotRun("cannot start Chromium (%s): %s" % (chromium, error))
        finally:
            os.close(to_browser_r)
            os.close(from_browser_w)

        self._next_id = 0
        self._replies = {}
        self._inbox = queue.Queue()
        self.events = []
        self.session = None
        threading.Thread(target=self._read, daemon=True).start()

    def _read(self):
        pending = b""
        while True:
            try:
                chunk = os.read(self._from_browser, 1 << 16)
            except OSError:
                chunk = b""
            if not chunk:
                self._inbox.put(None)
                return
            pending += chunk
            *messages, pending = pending.split(b"\0")
            for message in messages:
                self._inbox.put(json.loads(message))

    def call(self, method, params=None, deadline=None, on_page=True):
        self._next_id += 1
        message = {"id": self._next_id, "method": method, "params": params or {}}
        if on_page and self.session:
            message["sessionId"] = self.session
        try:
            os.write(self._to_browser, json.dumps(message).encode() + b"\0")
        except OSError as error:
            raise CannotRun("Chromium closed its pipe during %s: %s" % (method, error))
        reply = self._wait(lambda m: m.get("id") == self._next_id, method, deadline)
        if "error" in reply:
            raise CannotRun("%s: %s" % (method, reply["error"].get("message", reply["error"])))
        return reply.get("result", {})

    def wait_event(self, method, deadline):
        seen = [e for e in self.events if e["method"] == method]
        if seen:
            return seen[0]
        return self._wait(lambda m: m.get("method") == method, method, deadline)

    def _wait(self, wanted, what, deadline):
        while True:
            left = None if deadline is None else deadline - time.monotonic()
            if left is not None and left <= 0:
                raise CannotRun("timed out waiting for " + what)
            try:
                message = self._inbox.get(timeout=left)
            except queue.Empty:
                raise CannotRun("timed out waiting for " + what)
            if message is None:
                raise CannotRun("Chromium quit while waiting for " + what)
            if "method" in message:
                self.events.append(message)
            if wanted(message):
                return message

    def close(self):
        for fd in (self._to_browser, self._from_browser):
            try:
                os.close(fd)
            except OSError:
                pass
        # Chromium's renderer and helper processes share its session, so the
        # whole group goes.
        try:
            os.killpg(self.process.pid, signal.SIGKILL)
        except ProcessLookupError:
            pass
        self.process.wait()


def page_url(path):
    return pathlib.Path(path).resolve().as_uri()


def same_file(url, own_url):
    # Chromium and Python need not escape a path's characters alike.
    unquoted = urllib.parse.unquote
    return unquoted(url.split("#", 1)[0]) == unquoted(own_url)


def problems_in_events(events, own_url):
    """Console errors, uncaught exceptions and requests for anything but the page."""
    failures, inline = [], []
    for event in events:
        method, params = event["method"], event.get("params", {})
        if method == "Runtime.consoleAPICalled" and params.get("type") in ("error", "assert"):
            words = []
            for arg in params.get("args", []):
                words.append(str(arg.get("value", arg.get("description", arg.get("type")))))
            failures.append("console error: " + " ".join(words))
        elif method == "Runtime.exceptionThrown":
            details = params.get("exceptionDetails", {})
            exception = details.get("exception", {})
            failures.append("uncaught exception: "
                            + exception.get("description", details.get("text", "?")).splitlines()[0])
        elif method == "Log.entryAdded" and params.get("entry", {}).get("level") == "error":
            entry = params["entry"]
            where = " (%s)" % entry["url"] if entry.get("url") else ""
            failures.append("browser error: " + entry.get("text", "?") + where)
        elif method == "Network.requestWillBeSent":
            url = params.get("request", {}).get("url", "")
            if url.startswith("data:"):
                inline.append(url)
            elif not same_file(url, own_url):
                failures.append("network request: " + url)
    return failures, inline


def pdf_text(pdf):
    pdftotext = shutil.which("pdftotext")
    if not pdftotext:
        raise CannotRun("pdftotext is not installed")
    run = subprocess.run([pdftotext, "-enc", "UTF-8", pdf, "-"],
                         capture_output=True, timeout=30)
    if run.returncode != 0:
        raise CannotRun("pdftotext failed: " + run.stderr.decode(errors="replace").strip())
    return run.stdout.decode("utf-8", errors="replace")


def contents_problems(page):
    """The contents must lead to every section, and only to what is there."""
    if len(page["contents"]) != 1:
        return ["%d nav.contents in the page, expected 1" % len(page["contents"])]
    links = page["contents"][0]
    problems = []
    for number, section in enumerate(page["sections"], 1):
        if not section["id"]:
            problems.append("section %d has no id for the contents to lead to" % number)
        elif "#" + section["id"] not in links:
            problems.append("the contents do not lead to section %r" % section["id"])
    ids = set(page["ids"])
    for link in links:
        if not link.startswith("#") or urllib.parse.unquote(link[1:]) not in ids:
            problems.append("a link in the contents leads nowhere in the page: " + link)
    return problems


def decoded(result, signature, method):
    data = base64.b64decode(result.get("data", ""))
    if not data.startswith(signature):
        raise CannotRun("%s gave no %s" % (method, signature.strip(b"\x89\r\n\x1a-").decode()))
    return data


def evaluate(browser, expression, deadline):
    reply = browser.call("Runtime.evaluate", {"expression": expression, "awaitPromise": True,
                                              "returnByValue": True}, deadline)
    if "exceptionDetails" in reply:
        raise CannotRun("the checker's own script failed in the page: "
                        + reply["exceptionDetails"].get("text", "?"))
    return reply["result"].get("value")


def check(args, browser, deadline):
    own_url = page_url(args.html)
    target = browser.call("Target.createTarget", {"url": "about:blank"}, deadline)
    attached = browser.call("Target.attachToTarget",
                            {"targetId": target["targetId"], "flatten": True}, deadline)
    browser.session = attached["sessionId"]
    for domain in ("Runtime", "Log", "Network", "Page"):
        browser.call(domain + ".enable", None, deadline)

    navigated = browser.call("Page.navigate", {"url": own_url}, deadline)
    if navigated.get("errorText"):
        raise CannotRun("cannot open %s: %s" % (own_url, navigated["errorText"]))
    browser.wait_event("Page.loadEventFired", deadline)
    evaluate(browser, SETTLE, deadline)

    failures = []
    page = evaluate(browser, READ_PAGE, deadline)
    sections, shown = page["sections"], squeeze(page["text"])
    if args.expect_sections is not None and len(sections) != args.expect_sections:
        failures.append("%d %s in the page, expected %d"
                        % (len(sections), SECTION_SELECTOR, args.expect_sections))
    for number, section in enumerate(sections, 1):
        if not section["heading"] or not section["heading"].strip():
            failures.append("section %d (id %r) does not start with a heading"
                            % (number, section["id"]))
    if args.expect_contents:
        failures += contents_problems(page)

    if args.style_outline:
        pathlib.Path(args.style_outline).write_text(evaluate(browser, STYLE_OUTLINE, deadline))

    if args.screenshot:
        shot = browser.call("Page.captureScreenshot", {"format": "png"}, deadline)
        pathlib.Path(args.screenshot).write_bytes(
            decoded(shot, b"\x89PNG\r\n\x1a\n", "Page.captureScreenshot"))

    printed = browser.call("Page.printToPDF",
                           {"preferCSSPageSize": True, "printBackground": True}, deadline)
    pdf = args.pdf or os.path.join(args.workdir, "page.pdf")
    pathlib.Path(pdf).write_bytes(decoded(printed, b"%PDF-", "Page.printToPDF"))
    text = squeeze(pdf_text(pdf))
    # A heading also stands in the contents, so finding it once in the PDF
    # proves little: it must be printed as often as the page shows it.
    for section in sections:
        heading = squeeze(section["heading"] or "")
        if heading and text.count(heading) < shown.count(heading):
            failures.append("section heading not in the PDF: %s (shown %d times, printed %d)"
                            % (heading, shown.count(heading), text.count(heading)))
    for wanted in args.expect_text:
        if squeeze(wanted) not in text:
            failures.append("text not in the PDF: " + wanted)

    # Printing can load what the screen did not (print style sheets), so the
    # log is read after it.
    logged, inline = problems_in_events(browser.events, own_url)
    return logged + failures, sections, inline


def main():
    parser = argparse.ArgumentParser(description=__doc__.splitlines()[0])
    parser.add_argument("--html", required=True, help="the page to check")
    parser.add_argument("--chromium", default=shutil.which("chromium") or "chromium")
    parser.add_argument("--expect-sections", type=int, metavar="N",
                        help="the page must hold exactly N " + SECTION_SELECTOR)
    parser.add_argument("--expect-text", action="append", default=[], metavar="TEXT",
                        help="a text the printed PDF must hold (may be repeated)")
    parser.add_argument("--expect-contents", action="store_true",
                        help="the page must have one nav.contents with a link to each section")
    parser.add_argument("--pdf", help="keep the printed PDF here")
    parser.add_argument("--screenshot", help="write the first screen as PNG here")
    parser.add_argument("--style-outline", metavar="OUT.txt",
                        help="write the outline of the page's style here")
    parser.add_argument("--timeout", type=float, default=60, metavar="SECONDS")
    args = parser.parse_args()

    if not os.path.isfile(args.html):
        print("browsercheck: no such page: " + args.html, file=sys.stderr)
        return 2
    if not (os.path.isfile(args.chromium) and os.access(args.chromium, os.X_OK)):
        found = shutil.which(args.chromium)
        if not found:
            print("browsercheck: Chromium not found (%s); scripts/setup installs it"
                  % args.chromium, file=sys.stderr)
            return 2
        args.chromium = found

    # A test runner's timeout ends the check with SIGTERM; leave no Chromium.
    def terminated(*_):
        print("browsercheck: terminated", file=sys.stderr)
        raise SystemExit(2)
    signal.signal(signal.SIGTERM, terminated)

    with tempfile.TemporaryDirectory(prefix="browsercheck-") as workdir:
        args.workdir = workdir
        log_path = os.path.join(workdir, "chromium.log")
        deadline = time.monotonic() + args.timeout
        with open(log_path, "wb") as log:
            browser = Browser(args.chromium, os.path.join(workdir, "profile"), log)

        # The pipe waits honour the deadline; this is for a hang anywhere else
        # (pdftotext, a write that blocks).
        def give_up():
            print("browsercheck: gave up after %g s" % args.timeout, file=sys.stderr)
            try:
                os.killpg(browser.process.pid, signal.SIGKILL)
            except ProcessLookupError:
                pass
            os._exit(2)
        watchdog = threading.Timer(args.timeout + 5, give_up)
        watchdog.daemon = True
        watchdog.start()

        try:
            failures, sections, inline = check(args, browser, deadline)
        except CannotRun as error:
            print("browsercheck: " + str(error), file=sys.stderr)
            chromium_said = pathlib.Path(log_path).read_text(errors="replace").strip()
            if chromium_said:
                print("Chromium's output:\n" + chromium_said[-4000:], file=sys.stderr)
            return 2
        finally:
            watchdog.cancel()
            browser.close()

    for url in inline:
        print("inline resource: " + (url if len(url) <= 60 else url[:57] + "..."))
    if failures:
        for failure in failures:
            print("FAIL: " + failure)
        return 1
    print("OK: %s, %d sections (%s), %d inline resources"
          % (args.html, len(sections), "; ".join(s["heading"] for s in sections), len(inline)))
    return 0


if __name__ == "__main__":
    sys.exit(main())
