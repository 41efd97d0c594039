import matplotlib
matplotlib.use("svg")
import matplotlib.pyplot as plt
import numpy as np
plt.rcParams["svg.hashsalt"] = "orvane"   # stable ids
plt.rcParams["svg.fonttype"] = "none"     # text stays text, not glyph paths
out = "/work/wt/issue13/tests/data/svg/"
meta = {"Date": None, "Creator": "matplotlib"}

x = np.linspace(0, 2 * np.pi, 50)
fig, ax = plt.subplots(figsize=(6, 4))
ax.plot(x, np.sin(x)); ax.plot(x, np.cos(x), "--")
fig.savefig(out + "matplotlib-line-plot.svg", metadata=meta); plt.close(fig)

fig, ax = plt.subplots(figsize=(5, 3))
ax.bar(["a", "b", "c", "d"], [3, 7, 2, 5])
fig.savefig(out + "matplotlib-bar-chart.svg", metadata=meta); plt.close(fig)

fig, ax = plt.subplots(figsize=(4, 4))
t = np.linspace(0, 1, 30)
ax.scatter(np.cos(7 * t), np.sin(5 * t), marker="o")
fig.savefig(out + "matplotlib-scatter.svg", metadata=meta); plt.close(fig)

fig = plt.figure(figsize=(4, 4))
ax = fig.add_subplot(projection="polar")
r = np.linspace(0, 2, 100); ax.plot(2 * np.pi * r, r)
fig.savefig(out + "matplotlib-polar.svg", metadata=meta); plt.close(fig)

fig, ax = plt.subplots(figsize=(5, 4))
X, Y = np.meshgrid(np.linspace(-2, 2, 40), np.linspace(-2, 2, 40))
ax.contour(X, Y, np.exp(-X**2 - Y**2), levels=5)
fig.savefig(out + "matplotlib-contour.svg", metadata=meta); plt.close(fig)

fig, ax = plt.subplots(figsize=(3, 2), dpi=100)
ax.set_axis_off()
ax.add_patch(matplotlib.patches.Circle((0.5, 0.5), 0.3, fill=False))
ax.add_patch(matplotlib.patches.Rectangle((0.1, 0.1), 0.2, 0.3, fill=False))
fig.savefig(out + "matplotlib-patches-cm.svg", metadata=meta); plt.close(fig)
