// The peer of the login benchmark: playwright-core drives the same Chromium binary through
// the same navigation, fill and click. Launched once and kept warm; one request per line on
// stdin ("<login page address>"), one "done" line on stdout when the click has been made.
import readline from 'node:readline';

let chromium;
try {
  ({ chromium } = await import('playwright-core'));
} catch {
  process.stdout.write('missing playwright-core\n');
  process.exit(0);
}

const executablePath = process.argv[2];
const browser = await chromium.launch({ executablePath, headless: true });
const context = await browser.newContext();
process.stdout.write('ready\n');

const lines = readline.createInterface({ input: process.stdin });
for await (const url of lines) {
  if (!url) break;
  const page = await context.newPage();
  await page.goto(url);
  await page.fill('input[name="user"]', 'alice');
  await page.fill('input[type="password"]', 'bench-password');
  await page.click('input[type="submit"]', { noWaitAfter: true });
  await page.waitForURL('**/session');
  await page.close();
  process.stdout.write('done\n');
}
await browser.close();
