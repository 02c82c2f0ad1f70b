// Called by Kestrelyn Vormaplex over its own DevTools pipe. Nothing else can reach this worker:
// the extension has no pages, no content scripts and listens to no messages.

// Every address of the history (maxResults 0: no limit).
async function historyAddresses() {
  const items = await chrome.history.search({ text: "", startTime: 0, maxResults: 0 });
  return items.map((item) => item.url);
}

// Deletes these addresses from the history; with everything set, then the whole history.
async function deleteHistory(addresses, everything) {
  await Promise.all(addresses.map((url) => chrome.history.deleteUrl({ url })));
  if (everything) await chrome.history.deleteAll();
  return true;
}

// Empties the disk cache.
async function deleteCache() {
  await chrome.browsingData.removeCache({});
  return true;
}
