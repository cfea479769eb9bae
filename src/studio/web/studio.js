// The studio's page: the manifest as JSON in memory, edited by the form,
// checked, previewed and built by the tool behind the local server.
const token = location.pathname.split('/')[2];
const $ = (id) => document.getElementById(id);

const families = [
  ['Edges across: squeezes, slides, wipes, stretches', range(1, 17)],
  ['Edges down', range(18, 34)],
  ['From a corner', range(35, 50)],
  ['Centre box and four-piece wipes', range(51, 57)],
  ['Round-rect wipes', [58, 59, 69, 70, ...range(80, 85)]],
  ['Bands', [...range(60, 64), ...range(71, 75), ...range(86, 99)]],
  ['Ragged edges', [...range(65, 68), ...range(76, 79), ...range(100, 109)]],
  ['Diagonals, wedges, triangles', range(110, 117)],
  ['Cross-fade', [118]],
  ['Corner swings', range(119, 122)],
  ['Grains', range(123, 126)],
  ['Dissolve', [127]],
];

let manifest = {};
let pictures = [];  // names in show order, as the tool resolves them
let captions = [];  // each picture's own caption, or null
let sounds = [];
let dirty = false;

function range(from, to) {
  return Array.from({ length: to - from + 1 }, (_, i) => from + i);
}

async function api(path, body) {
  const options = body === undefined ? {} : {
    method: 'POST',
    headers: { 'Content-Type': 'application/json', 'X-Pixvane-Token': token },
    body: JSON.stringify(body),
  };
  const response = await fetch(path, options);
  const data = await response.json().catch(() => ({}));
  if (!response.ok) throw new Error(data.problem || response.statusText);
  return data;
}

function say(text) {
  $('status').textContent = text;
}

function message(text, kind = 'warning') {
  const item = document.createElement('li');
  item.className = kind;
  item.textContent = text;
  $('messages').append(item);
  setTimeout(() => item.remove(), 10000);
}

// ---------------------------------------------------------------- values
function table(path, create) {
  const parts = path.split('.');
  let node = manifest;
  for (const part of parts.slice(0, -1)) {
    if (typeof node[part] !== 'object' || node[part] === null) {
      if (!create) return [undefined, parts.at(-1)];
      node[part] = {};
    }
    node = node[part];
  }
  return [node, parts.at(-1)];
}

function get(path) {
  const [node, key] = table(path, false);
  return node ? node[key] : undefined;
}

function set(path, value) {
  const [node, key] = table(path, true);
  if (value === undefined) delete node[key];
  else node[key] = value;
  changed();
}

function fieldValue(input) {
  if (input.type === 'checkbox') return input.checked;
  if (input.value === '') return undefined;
  if (input.type === 'number') return input.hasAttribute('data-negate') ? -Number(input.value) : Number(input.value);
  if (input.hasAttribute('data-color')) return input.value.toUpperCase();
  return input.value;
}

function showField(input) {
  const value = get(input.dataset.key);
  if (input.type === 'checkbox') input.checked = value ?? input.dataset.default === 'true';
  else if (input.hasAttribute('data-color')) input.value = /^#[0-9a-f]{6}$/i.test(value ?? '') ? value.toLowerCase() : '#ffffff';
  else if (input.hasAttribute('data-negate')) input.value = value === undefined ? '' : Math.abs(value);
  else input.value = value ?? '';
}

function bindFields() {
  for (const input of document.querySelectorAll('[data-key]')) {
    input.addEventListener('change', () => set(input.dataset.key, fieldValue(input)));
    if (input.type === 'text') input.addEventListener('input', () => set(input.dataset.key, fieldValue(input)));
  }
  $('motion').addEventListener('change', showZoom);
  for (const box of document.querySelectorAll('[data-style]')) {
    box.addEventListener('change', () => {
      const styles = new Set(get('caption.style') ?? []);
      if (box.checked) styles.add(box.dataset.style); else styles.delete(box.dataset.style);
      set('caption.style', [...styles]);
    });
  }
}

// How far the picture zooms means something only while it moves.
function showZoom() {
  $('zoom').disabled = $('motion').value !== 'pan-zoom';
}

function showFields() {
  for (const input of document.querySelectorAll('[data-key]')) showField(input);
  showZoom();
  const styles = get('caption.style') ?? [];
  for (const box of document.querySelectorAll('[data-style]')) box.checked = styles.includes(box.dataset.style);
}

// -------------------------------------------------------------- pictures
function fileUrl(name) {
  return 'file/' + name.split('/').map(encodeURIComponent).join('/');
}

// A picture with a caption of its own is written as a table, one without as
// its plain name, so a show without such captions keeps its manifest as it was.
function savePictures() {
  set('show.pictures', pictures.map((name, index) => captions[index] ? { file: name, caption: captions[index] } : name));
}

// Moves a picture, with its caption and its description when the manifest gives them.
function movePicture(from, to) {
  if (to < 0 || to >= pictures.length || from === to) return;
  const descriptions = get('show.descriptions');
  for (const list of [pictures, captions, descriptions?.length === pictures.length ? descriptions : null]) {
    if (!list) continue;
    const [item] = list.splice(from, 1);
    list.splice(to, 0, item);
  }
  savePictures();
  renderPictures(to);
}

function removePicture(index) {
  const descriptions = get('show.descriptions');
  if (descriptions?.length === pictures.length) descriptions.splice(index, 1);
  pictures.splice(index, 1);
  captions.splice(index, 1);
  savePictures();
  renderPictures(Math.min(index, pictures.length - 1));
}

function smallButton(label, text, action) {
  const button = document.createElement('button');
  button.type = 'button';
  button.className = 'small';
  button.textContent = text;
  button.setAttribute('aria-label', label);
  button.addEventListener('click', action);
  return button;
}

function renderPictures(focusIndex) {
  const list = $('pictures');
  list.replaceChildren();
  pictures.forEach((name, index) => {
    const item = document.createElement('li');
    item.tabIndex = 0;
    item.draggable = true;
    item.dataset.name = name;
    item.setAttribute('aria-label', `${index + 1}. ${name.split('/').at(-1)}`);
    const image = document.createElement('img');
    image.src = fileUrl(name);
    image.alt = '';
    image.loading = 'lazy';
    image.decoding = 'async';
    const label = document.createElement('span');
    label.className = 'name';
    label.textContent = name.split('/').at(-1);
    const caption = document.createElement('input');
    caption.type = 'text';
    caption.className = 'caption';
    caption.placeholder = 'Caption';
    caption.value = captions[index] ?? '';
    caption.setAttribute('aria-label', `Caption of ${name.split('/').at(-1)}`);
    caption.addEventListener('input', () => {
      captions[index] = caption.value || null;
      savePictures();
    });
    const warning = document.createElement('span');
    warning.className = 'item-warning';
    const tools = document.createElement('span');
    tools.className = 'tools';
    tools.append(
      smallButton(`Move ${name} up`, '↑', () => movePicture(index, index - 1)),
      smallButton(`Move ${name} down`, '↓', () => movePicture(index, index + 1)),
      smallButton(`Remove ${name}`, '✕', () => removePicture(index)));
    item.append(image, label, caption, warning, tools);
    item.addEventListener('keydown', (event) => {
      if (event.target !== item) return;
      if (event.altKey && event.key === 'ArrowUp') { event.preventDefault(); movePicture(index, index - 1); }
      if (event.altKey && event.key === 'ArrowDown') { event.preventDefault(); movePicture(index, index + 1); }
      if (event.key === 'Delete') { event.preventDefault(); removePicture(index); }
    });
    item.addEventListener('dragstart', (event) => {
      event.dataTransfer.setData('text/x-pixvane-index', String(index));
      item.classList.add('dragging');
    });
    item.addEventListener('dragend', () => item.classList.remove('dragging'));
    item.addEventListener('dragover', (event) => {
      if (event.dataTransfer.types.includes('text/x-pixvane-index')) event.preventDefault();
    });
    item.addEventListener('drop', (event) => {
      const from = event.dataTransfer.getData('text/x-pixvane-index');
      if (from === '') return;
      event.preventDefault();
      event.stopPropagation();
      movePicture(Number(from), index);
    });
    list.append(item);
  });
  $('pictures-hint').hidden = pictures.length > 0;
  if (focusIndex !== undefined && list.children[focusIndex]) list.children[focusIndex].focus();
}

async function upload(files, to) {
  const form = new FormData();
  for (const file of files) form.append('file', file, file.name);
  say(`Adding ${files.length} file${files.length === 1 ? '' : 's'}…`);
  const response = await fetch(`api/upload?to=${to}`, {
    method: 'POST', headers: { 'X-Pixvane-Token': token }, body: form,
  });
  const data = await response.json().catch(() => ({ added: [], problems: [response.statusText] }));
  for (const problem of data.problems ?? (data.problem ? [data.problem] : [])) message(problem, 'error');
  return data.added ?? [];
}

async function addPhotos(files) {
  const added = await upload(files, 'pictures');
  if (!added.length) return say('No photos added');
  pictures.push(...added);
  captions.push(...added.map(() => null));
  savePictures();
  renderPictures();
  say(`Added ${added.length} photo${added.length === 1 ? '' : 's'}`);
}

// ---------------------------------------------------------------- music
function renderSounds() {
  const list = $('sounds');
  list.replaceChildren();
  sounds.forEach((name, index) => {
    const item = document.createElement('li');
    item.textContent = name.split('/').at(-1);
    const move = (to) => {
      if (to < 0 || to >= sounds.length) return;
      const [sound] = sounds.splice(index, 1);
      sounds.splice(to, 0, sound);
      set('music.files', [...sounds]);
      renderSounds();
    };
    item.append(
      smallButton(`Move ${name} up`, '↑', () => move(index - 1)),
      smallButton(`Move ${name} down`, '↓', () => move(index + 1)),
      smallButton(`Remove ${name}`, '✕', () => {
        sounds.splice(index, 1);
        set('music.files', [...sounds]);
        renderSounds();
      }));
    list.append(item);
  });
}

// ------------------------------------------------------------ transitions
function effects() {
  return get('show.effects') ?? [];
}

function renderGallery() {
  const gallery = $('gallery');
  for (const [family, styles] of families) {
    const group = document.createElement('section');
    group.className = 'family';
    const heading = document.createElement('h3');
    heading.textContent = family;
    const grid = document.createElement('div');
    grid.className = 'tiles';
    grid.setAttribute('role', 'group');
    grid.setAttribute('aria-label', family);
    for (const style of styles) {
      const tile = document.createElement('button');
      tile.type = 'button';
      tile.className = 'tile';
      tile.dataset.style = style;
      tile.setAttribute('aria-label', `Transition ${style}`);
      const strip = document.createElement('span');
      strip.className = 'strip';
      strip.style.backgroundImage = `url(style/${style}.jpg)`;
      // Staggered, so the gallery shows every stage of a transition at once.
      strip.style.animationDelay = `-${(style % 8) * 0.2}s`;
      const number = document.createElement('span');
      number.className = 'number';
      number.textContent = style;
      tile.append(strip, number);
      tile.addEventListener('click', () => {
        const list = effects();
        const at = list.indexOf(style);
        if (at >= 0) list.splice(at, 1); else list.push(style);
        set('show.effects', list.length ? [...list] : undefined);
        renderChosen();
      });
      grid.append(tile);
    }
    group.append(heading, grid);
    gallery.append(group);
  }
}

function renderChosen() {
  const list = effects();
  for (const tile of document.querySelectorAll('.tile')) {
    const at = list.indexOf(Number(tile.dataset.style));
    tile.setAttribute('aria-pressed', String(at >= 0));
    tile.querySelector('.number').textContent = at >= 0 ? `${tile.dataset.style} · ${at + 1}` : tile.dataset.style;
  }
  const chosen = $('chosen');
  chosen.replaceChildren();
  list.forEach((style, index) => {
    const item = document.createElement('li');
    item.textContent = style;
    const move = (to) => {
      if (to < 0 || to >= list.length) return;
      list.splice(to, 0, list.splice(index, 1)[0]);
      set('show.effects', [...list]);
      renderChosen();
    };
    item.append(
      smallButton(`Move transition ${style} earlier`, '←', () => move(index - 1)),
      smallButton(`Move transition ${style} later`, '→', () => move(index + 1)));
    chosen.append(item);
  });
}

// ---------------------------------------------------------------- checks
let checkTimer = 0;
function changed() {
  dirty = true;
  say('Changed; not saved');
  clearTimeout(checkTimer);
  checkTimer = setTimeout(checkAndPreview, 250);
}

function showWarnings(warnings) {
  for (const item of document.querySelectorAll('.item-warning')) item.textContent = '';
  for (const item of document.querySelectorAll('.field-warning')) item.textContent = '';
  const general = [];
  for (const warning of warnings) {
    const text = warning.replace(/^[^:]*:\d+: /, '');
    const picture = [...$('pictures').children].find((item) => warning.includes(item.dataset.name.split('/').at(-1)));
    const field = [...document.querySelectorAll('.field-warning')].find((p) => warning.includes(p.dataset.for));
    if (picture) picture.querySelector('.item-warning').textContent = text;
    else if (field) field.textContent = text;
    else general.push(text);
  }
  return general;
}

async function checkAndPreview() {
  try {
    const check = await api('api/check', manifest);
    if (check.problem) {
      say(check.problem);
      return;
    }
    showWarnings(check.warnings).forEach((w) => message(w));
    say(dirty ? 'Changed; not saved' : 'Saved');
    if (pictures.length) startPreview();
  } catch (error) {
    say(error.message);
  }
}

// --------------------------------------------------------------- preview
let previewRun = 0;
async function startPreview() {
  const [width, height] = $('screen').value.split('x').map(Number);
  const frame = $('screen-frame');
  frame.style.aspectRatio = `${width} / ${height}`;
  try {
    const { run } = await api('api/preview', { manifest, width, height });
    previewRun = run;
    playPreview(run);
  } catch (error) {
    $('preview-state').textContent = error.message;
  }
}

const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

async function fetchFrame(run, index) {
  for (;;) {
    const response = await fetch(`preview/${run}/${index}`);
    if (response.status === 408) continue;
    if (!response.ok) return { status: response.status, problem: (await response.json().catch(() => ({}))).problem };
    return { at: Number(response.headers.get('X-At-Ms')), blob: await response.blob() };
  }
}

// Shows each image when the show's clock reaches it, as the player would;
// at the end the run plays again from its first image.
async function playPreview(run) {
  const image = $('preview');
  const state = $('preview-state');
  let index = 0, start = null, shown = 0, second = performance.now();
  let next = fetchFrame(run, 0);
  state.textContent = 'Starting the preview…';
  while (run === previewRun) {
    const frame = await next;
    if (run !== previewRun) return;
    if (frame.status === 404 && index > 0) {
      index = 0; start = null; next = fetchFrame(run, 0);
      continue;
    }
    if (frame.status) {
      if (frame.status !== 410) state.textContent = frame.problem ?? 'The preview stopped';
      return;
    }
    next = fetchFrame(run, index + 1);
    if (start === null) start = performance.now() - frame.at;
    const wait = start + frame.at - performance.now();
    if (wait > 0) await sleep(wait);
    if (run !== previewRun) return;
    const old = image.src;
    image.src = URL.createObjectURL(frame.blob);
    if (old.startsWith('blob:')) URL.revokeObjectURL(old);
    image.dataset.frame = `${run}/${index}`;
    image.dataset.at = frame.at;
    index++;
    shown++;
    const now = performance.now();
    if (now - second >= 1000) {
      // Between transitions the screen holds still, and says only its size.
      const rate = Math.round(shown * 1000 / (now - second));
      state.textContent = `Playing at ${$('screen').selectedOptions[0].textContent}` +
        (rate > 1 ? ` · ${rate} images a second` : '');
      shown = 0;
      second = now;
    }
  }
}

// ----------------------------------------------------------- save, build
async function save() {
  try {
    const project = await api('api/save', manifest);
    dirty = false;
    showLost(project.lost);
    say('Saved pixvane.toml');
  } catch (error) {
    say('Not saved: ' + error.message);
  }
}

function showLost(lost) {
  const notice = $('lost');
  notice.hidden = !lost.length;
  notice.textContent = lost.length ? `Saving rewrites pixvane.toml and drops what the page cannot keep: ${lost.join(', ')}.` : '';
}

// Build saver, and Make installer, which builds the saver and then its
// setup program: one progress bar and result line for both.
async function build(installer) {
  const result = $('build-result'), text = $('build-text'), progress = $('build-progress');
  const buttons = [$('build'), $('installer')];
  result.hidden = false;
  progress.value = 0;
  text.textContent = 'Building…';
  buttons.forEach((button) => (button.disabled = true));
  try {
    await api(installer ? 'api/installer' : 'api/build', manifest);
    let state;
    do {
      await sleep(250);
      state = await api('api/build');
      if (state.step) {
        text.textContent = state.step;
      } else if (state.count) {
        // The pictures are most of a saver's build; an installer's own
        // steps take the last fifth of the bar.
        progress.value = (state.index / state.count) * (installer ? 0.8 : 1);
        text.textContent = `Adding picture ${state.index}/${state.count}: ${state.name}`;
      }
    } while (state.running);
    showWarnings(state.warnings).forEach((w) => message(w));
    if (state.problem) {
      text.textContent = 'Not built: ' + state.problem;
    } else {
      progress.value = 1;
      const megabytes = (bytes) => (bytes / 1048576).toFixed(1) + ' MB';
      text.textContent = state.installer
        ? `Wrote ${state.installer} (${megabytes(state.installer_size)}) for ${state.saver}`
        : `Wrote ${state.saver} (${megabytes(state.size)})`;
    }
  } catch (error) {
    text.textContent = 'Not built: ' + error.message;
  } finally {
    buttons.forEach((button) => (button.disabled = false));
  }
}

// ----------------------------------------------------------------- start
async function start() {
  const project = await api('api/project');
  manifest = project.manifest;
  pictures = project.check.pictures ?? [];
  captions = pictures.map((_, index) => project.check.captions?.[index] ?? null);
  sounds = project.check.sounds ?? [];
  $('folder').textContent = project.folder;
  showLost(project.lost);
  showFields();
  renderPictures();
  renderSounds();
  renderGallery();
  renderChosen();
  bindFields();
  for (const button of document.querySelectorAll('[data-opens]'))
    button.addEventListener('click', () => $(button.dataset.opens).click());
  $('add-photos').addEventListener('change', async (event) => {
    await addPhotos([...event.target.files]);
    event.target.value = '';
  });
  $('add-music').addEventListener('change', async (event) => {
    const added = await upload([...event.target.files], 'music');
    sounds.push(...added);
    set('music.files', [...sounds]);
    renderSounds();
    event.target.value = '';
  });
  const drop = document.querySelector('.pictures');
  drop.addEventListener('dragover', (event) => {
    if (event.dataTransfer.types.includes('Files')) event.preventDefault();
  });
  drop.addEventListener('drop', (event) => {
    if (!event.dataTransfer.files.length) return;
    event.preventDefault();
    addPhotos([...event.dataTransfer.files]);
  });
  $('screen').addEventListener('change', startPreview);
  $('save').addEventListener('click', save);
  $('build').addEventListener('click', () => build(false));
  $('installer').hidden = !project.installers;
  $('installer').addEventListener('click', () => build(true));
  say(project.check.problem ?? 'Ready');
  if (project.check.warnings) showWarnings(project.check.warnings).forEach((w) => message(w));
  if (pictures.length && !project.check.problem) startPreview();
  document.body.dataset.ready = 'true';
}

start().catch((error) => say('The studio could not start: ' + error.message));
