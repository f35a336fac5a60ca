-- The template every new project is copied from: six tables, every column TEXT,
-- rows kept in insertion order by rowid. The application id lets Open tell a
-- project file from any other SQLite database ("TRRN").
PRAGMA application_id = 1414680142;

CREATE TABLE TblProjectInfo (
    ProjectName TEXT,
    DesignEngineer TEXT,
    ProjectManager TEXT,
    DesignDate TEXT,
    JobNumber TEXT,
    IValueBasinName TEXT
);

CREATE TABLE TblNodeInfo (
    NodeName TEXT,
    IntensityTable TEXT,
    NodeX TEXT,
    NodeY TEXT
);

CREATE TABLE TblBasinInfo (
    BasinTag TEXT,
    BasinName TEXT,
    BasinX TEXT,
    BasinY TEXT,
    Area TEXT,
    SoilType TEXT,
    CVal TEXT,
    Slope TEXT,
    TravelLength TEXT,
    Deleted TEXT,
    BasinNType TEXT,
    BasinN TEXT,
    Tc TEXT
);

CREATE TABLE TblSurfaceInfo (
    SurfTag TEXT,
    SurfName TEXT,
    SurfX TEXT,
    SurfY TEXT,
    SurfSlope TEXT,
    SurfLength TEXT,
    Deleted TEXT,
    SurfVelocity TEXT,
    SurfType TEXT,
    SurfTc TEXT
);

CREATE TABLE TblChannelInfo (
    ChannelTag TEXT,
    ChannelName TEXT,
    ChannelLeft TEXT,
    ChannelTop TEXT,
    ChannelArea TEXT,
    ChannelWP TEXT,
    ChannelSlope TEXT,
    ChannelLength TEXT,
    ChannelMaterial TEXT,
    ChannelN TEXT,
    Deleted TEXT,
    ChannelVelocity TEXT,
    ChannelTc TEXT
);

CREATE TABLE TblResults (
    Ival_1 TEXT,
    Ival_2 TEXT,
    Ival_5 TEXT,
    Ival_10 TEXT,
    Ival_25 TEXT,
    Ival_50 TEXT,
    Ival_100 TEXT,
    Qpeak_1 TEXT,
    Qpeak_2 TEXT,
    Qpeak_5 TEXT,
    Qpeak_10 TEXT,
    Qpeak_25 TEXT,
    Qpeak_50 TEXT,
    Qpeak_100 TEXT
);
