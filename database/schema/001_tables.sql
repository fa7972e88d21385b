-- Tables, indexes and required rows of Pelkin.mdb.

CREATE TABLE [Job Information] (
    [AutoNumber] INTEGER PRIMARY KEY AUTOINCREMENT,
    [Quote Date] TEXT,
    [Job Name] TEXT,
    [Job Address 1] TEXT,
    [Job Address 2] TEXT,
    [Job Address 3] TEXT,
    [Job Address 4] TEXT,
    [Job Address 5] TEXT,
    [EMail] TEXT,
    [Job Phone] TEXT,
    [Job Fax] TEXT,
    [Commission] DOUBLE,
    [Customer Name] TEXT,
    [Customer Address 1] TEXT,
    [Customer Address 2] TEXT,
    [Customer Address 3] TEXT,
    [Customer Address 4] TEXT,
    [Customer Address 5] TEXT,
    [Customer Phone] TEXT,
    [Customer Fax] TEXT,
    [Time Period] TEXT,
    [Shipment Terms] TEXT,
    [Payment Terms] TEXT,
    [Deposit Amount] TEXT,
    [US Inland Freight] TEXT,
    [Intl Inland Freight] TEXT,
    [Insurance] TEXT,
    [Ocean Freight] TEXT,
    [Warranty New] TEXT,
    [Warranty Used] TEXT,
    [Warranty Electrical] TEXT,
    [Warranty Buy Out] TEXT,
    [Delivery Time] TEXT,
    [Delivery Time Special Orders] TEXT,
    [Machine Type] TEXT,
    [Machine Voltage] TEXT,
    [# of Lanes] TEXT,
    [# of Posts] TEXT,
    [# of Jobs] TEXT,
    [Country Destination] TEXT,
    [ContractNotes] MEMO,
    [Notes] MEMO
);

CREATE TABLE [Job Items] (
    [Recordno] INTEGER,
    [Item Name] TEXT,
    [Item Category] INTEGER,
    [Schedule] TEXT,
    [Item Qty] INTEGER,
    [Item Condition] TEXT,
    [Item Price] CURRENCY,
    [Item Notes] MEMO
);

-- The fixed ordering of quote lines, for one job and for all jobs.
CREATE INDEX [Job Items Order] ON [Job Items] ([Recordno], [Schedule], [Item Category]);

CREATE TABLE [Your Information] (
    [Company Name] TEXT,
    [Company Address 1] TEXT,
    [Company Address 2] TEXT,
    [Company Address 3] TEXT,
    [Company Address 4] TEXT,
    [Company Address 5] TEXT,
    [Company Phone] TEXT,
    [Company Fax] TEXT,
    [Salesman Name] TEXT,
    [Your email] TEXT,
    [Your internet] TEXT
);

CREATE TABLE [Factors] (
    [P72] DOUBLE,
    [P60] DOUBLE,
    [P48] DOUBLE,
    [P36] DOUBLE,
    [P572] DOUBLE,
    [P560] DOUBLE,
    [P548] DOUBLE,
    [P536] DOUBLE,
    [P1072] DOUBLE,
    [P1060] DOUBLE,
    [P1048] DOUBLE,
    [P1036] DOUBLE,
    [S72] DOUBLE,
    [S60] DOUBLE,
    [S48] DOUBLE,
    [S36] DOUBLE,
    [L72] DOUBLE,
    [L60] DOUBLE,
    [L48] DOUBLE,
    [L36] DOUBLE
);

CREATE TABLE [PaymentTerms] (
    [PaymentTerms] TEXT
);

CREATE TABLE [ShipmentTerms] (
    [ShipmentTerms] TEXT
);

CREATE TABLE [LogoData] (
    [Logo] BLOB
);

CREATE TABLE [UserData] (
    [RecordNo] INTEGER,
    [UserLabel] TEXT,
    [User1] BOOLEAN NOT NULL DEFAULT 0,
    [User2] BOOLEAN NOT NULL DEFAULT 0,
    [User3] BOOLEAN NOT NULL DEFAULT 0,
    [User4] BOOLEAN NOT NULL DEFAULT 0,
    [User5] BOOLEAN NOT NULL DEFAULT 0,
    [User6] BOOLEAN NOT NULL DEFAULT 0,
    [User7] BOOLEAN NOT NULL DEFAULT 0,
    [User8] BOOLEAN NOT NULL DEFAULT 0,
    [User9] BOOLEAN NOT NULL DEFAULT 0,
    [User10] BOOLEAN NOT NULL DEFAULT 0,
    [User11] BOOLEAN NOT NULL DEFAULT 0,
    [User12] BOOLEAN NOT NULL DEFAULT 0,
    [User13] BOOLEAN NOT NULL DEFAULT 0,
    [User14] BOOLEAN NOT NULL DEFAULT 0,
    [User15] BOOLEAN NOT NULL DEFAULT 0,
    [User16] BOOLEAN NOT NULL DEFAULT 0,
    [User17] BOOLEAN NOT NULL DEFAULT 0,
    [User18] BOOLEAN NOT NULL DEFAULT 0,
    [User19] BOOLEAN NOT NULL DEFAULT 0,
    [User20] BOOLEAN NOT NULL DEFAULT 0,
    [User21] BOOLEAN NOT NULL DEFAULT 0,
    [User22] BOOLEAN NOT NULL DEFAULT 0,
    [User23] BOOLEAN NOT NULL DEFAULT 0,
    [User24] BOOLEAN NOT NULL DEFAULT 0,
    [User25] BOOLEAN NOT NULL DEFAULT 0,
    [User26] BOOLEAN NOT NULL DEFAULT 0,
    [User27] BOOLEAN NOT NULL DEFAULT 0,
    [User28] BOOLEAN NOT NULL DEFAULT 0,
    [User29] BOOLEAN NOT NULL DEFAULT 0,
    [User30] BOOLEAN NOT NULL DEFAULT 0,
    [User31] BOOLEAN NOT NULL DEFAULT 0,
    [User32] BOOLEAN NOT NULL DEFAULT 0,
    [User33] BOOLEAN NOT NULL DEFAULT 0,
    [User34] BOOLEAN NOT NULL DEFAULT 0,
    [User35] BOOLEAN NOT NULL DEFAULT 0,
    [User36] BOOLEAN NOT NULL DEFAULT 0,
    [User37] BOOLEAN NOT NULL DEFAULT 0,
    [User38] BOOLEAN NOT NULL DEFAULT 0,
    [User39] BOOLEAN NOT NULL DEFAULT 0,
    [User40] BOOLEAN NOT NULL DEFAULT 0
);

CREATE TABLE [ItemLabel] (
    [ItemLabel1] TEXT,
    [ItemLabel2] TEXT,
    [ItemLabel3] TEXT,
    [ItemLabel4] TEXT,
    [ItemLabel5] TEXT,
    [ItemLabel6] TEXT,
    [ItemLabel7] TEXT,
    [ItemLabel8] TEXT,
    [ItemLabel9] TEXT,
    [ItemLabel10] TEXT,
    [ItemLabel11] TEXT,
    [ItemLabel12] TEXT,
    [ItemLabel13] TEXT,
    [ItemLabel14] TEXT,
    [ItemLabel15] TEXT,
    [ItemLabel16] TEXT,
    [ItemLabel17] TEXT,
    [ItemLabel18] TEXT,
    [ItemLabel19] TEXT,
    [ItemLabel20] TEXT,
    [ItemLabel21] TEXT,
    [ItemLabel22] TEXT,
    [ItemLabel23] TEXT,
    [ItemLabel24] TEXT,
    [ItemLabel25] TEXT,
    [ItemLabel26] TEXT,
    [ItemLabel27] TEXT,
    [ItemLabel28] TEXT,
    [ItemLabel29] TEXT,
    [ItemLabel30] TEXT,
    [ItemLabel31] TEXT,
    [ItemLabel32] TEXT,
    [ItemLabel33] TEXT,
    [ItemLabel34] TEXT,
    [ItemLabel35] TEXT,
    [ItemLabel36] TEXT,
    [ItemLabel37] TEXT,
    [ItemLabel38] TEXT,
    [ItemLabel39] TEXT,
    [ItemLabel40] TEXT
);

CREATE TABLE [ItemName] (
    [ItemName1] TEXT,
    [ItemName2] TEXT,
    [ItemName3] TEXT,
    [ItemName4] TEXT,
    [ItemName5] TEXT,
    [ItemName6] TEXT,
    [ItemName7] TEXT,
    [ItemName8] TEXT,
    [ItemName9] TEXT,
    [ItemName10] TEXT,
    [ItemName11] TEXT,
    [ItemName12] TEXT,
    [ItemName13] TEXT,
    [ItemName14] TEXT,
    [ItemName15] TEXT,
    [ItemName16] TEXT,
    [ItemName17] TEXT,
    [ItemName18] TEXT,
    [ItemName19] TEXT,
    [ItemName20] TEXT,
    [ItemName21] TEXT,
    [ItemName22] TEXT,
    [ItemName23] TEXT,
    [ItemName24] TEXT,
    [ItemName25] TEXT,
    [ItemName26] TEXT,
    [ItemName27] TEXT,
    [ItemName28] TEXT,
    [ItemName29] TEXT,
    [ItemName30] TEXT,
    [ItemName31] TEXT,
    [ItemName32] TEXT,
    [ItemName33] TEXT,
    [ItemName34] TEXT,
    [ItemName35] TEXT,
    [ItemName36] TEXT,
    [ItemName37] TEXT,
    [ItemName38] TEXT,
    [ItemName39] TEXT,
    [ItemName40] TEXT
);

CREATE TABLE [ItemCategory] (
    [ItemCategory1] TEXT,
    [ItemCategory2] TEXT,
    [ItemCategory3] TEXT,
    [ItemCategory4] TEXT,
    [ItemCategory5] TEXT,
    [ItemCategory6] TEXT,
    [ItemCategory7] TEXT,
    [ItemCategory8] TEXT,
    [ItemCategory9] TEXT,
    [ItemCategory10] TEXT,
    [ItemCategory11] TEXT,
    [ItemCategory12] TEXT,
    [ItemCategory13] TEXT,
    [ItemCategory14] TEXT,
    [ItemCategory15] TEXT,
    [ItemCategory16] TEXT,
    [ItemCategory17] TEXT,
    [ItemCategory18] TEXT,
    [ItemCategory19] TEXT,
    [ItemCategory20] TEXT,
    [ItemCategory21] TEXT,
    [ItemCategory22] TEXT,
    [ItemCategory23] TEXT,
    [ItemCategory24] TEXT,
    [ItemCategory25] TEXT,
    [ItemCategory26] TEXT,
    [ItemCategory27] TEXT,
    [ItemCategory28] TEXT,
    [ItemCategory29] TEXT,
    [ItemCategory30] TEXT,
    [ItemCategory31] TEXT,
    [ItemCategory32] TEXT,
    [ItemCategory33] TEXT,
    [ItemCategory34] TEXT,
    [ItemCategory35] TEXT,
    [ItemCategory36] TEXT,
    [ItemCategory37] TEXT,
    [ItemCategory38] TEXT,
    [ItemCategory39] TEXT,
    [ItemCategory40] TEXT
);

CREATE TABLE [ItemSchedule] (
    [ItemSchedule1] TEXT,
    [ItemSchedule2] TEXT,
    [ItemSchedule3] TEXT,
    [ItemSchedule4] TEXT,
    [ItemSchedule5] TEXT,
    [ItemSchedule6] TEXT,
    [ItemSchedule7] TEXT,
    [ItemSchedule8] TEXT,
    [ItemSchedule9] TEXT,
    [ItemSchedule10] TEXT,
    [ItemSchedule11] TEXT,
    [ItemSchedule12] TEXT,
    [ItemSchedule13] TEXT,
    [ItemSchedule14] TEXT,
    [ItemSchedule15] TEXT,
    [ItemSchedule16] TEXT,
    [ItemSchedule17] TEXT,
    [ItemSchedule18] TEXT,
    [ItemSchedule19] TEXT,
    [ItemSchedule20] TEXT,
    [ItemSchedule21] TEXT,
    [ItemSchedule22] TEXT,
    [ItemSchedule23] TEXT,
    [ItemSchedule24] TEXT,
    [ItemSchedule25] TEXT,
    [ItemSchedule26] TEXT,
    [ItemSchedule27] TEXT,
    [ItemSchedule28] TEXT,
    [ItemSchedule29] TEXT,
    [ItemSchedule30] TEXT,
    [ItemSchedule31] TEXT,
    [ItemSchedule32] TEXT,
    [ItemSchedule33] TEXT,
    [ItemSchedule34] TEXT,
    [ItemSchedule35] TEXT,
    [ItemSchedule36] TEXT,
    [ItemSchedule37] TEXT,
    [ItemSchedule38] TEXT,
    [ItemSchedule39] TEXT,
    [ItemSchedule40] TEXT
);

CREATE TABLE [ItemNote] (
    [ItemNotes1] MEMO,
    [ItemNotes2] MEMO,
    [ItemNotes3] MEMO,
    [ItemNotes4] MEMO,
    [ItemNotes5] MEMO,
    [ItemNotes6] MEMO,
    [ItemNotes7] MEMO,
    [ItemNotes8] MEMO,
    [ItemNotes9] MEMO,
    [ItemNotes10] MEMO,
    [ItemNotes11] MEMO,
    [ItemNotes12] MEMO,
    [ItemNotes13] MEMO,
    [ItemNotes14] MEMO,
    [ItemNotes15] MEMO,
    [ItemNotes16] MEMO,
    [ItemNotes17] MEMO,
    [ItemNotes18] MEMO,
    [ItemNotes19] MEMO,
    [ItemNotes20] MEMO,
    [ItemNotes21] MEMO,
    [ItemNotes22] MEMO,
    [ItemNotes23] MEMO,
    [ItemNotes24] MEMO,
    [ItemNotes25] MEMO,
    [ItemNotes26] MEMO,
    [ItemNotes27] MEMO,
    [ItemNotes28] MEMO,
    [ItemNotes29] MEMO,
    [ItemNotes30] MEMO,
    [ItemNotes31] MEMO,
    [ItemNotes32] MEMO,
    [ItemNotes33] MEMO,
    [ItemNotes34] MEMO,
    [ItemNotes35] MEMO,
    [ItemNotes36] MEMO,
    [ItemNotes37] MEMO,
    [ItemNotes38] MEMO,
    [ItemNotes39] MEMO,
    [ItemNotes40] MEMO
);

CREATE TABLE [ItemPrice] (
    [ItemPrice1] CURRENCY,
    [ItemPrice2] CURRENCY,
    [ItemPrice3] CURRENCY,
    [ItemPrice4] CURRENCY,
    [ItemPrice5] CURRENCY,
    [ItemPrice6] CURRENCY,
    [ItemPrice7] CURRENCY,
    [ItemPrice8] CURRENCY,
    [ItemPrice9] CURRENCY,
    [ItemPrice10] CURRENCY,
    [ItemPrice11] CURRENCY,
    [ItemPrice12] CURRENCY,
    [ItemPrice13] CURRENCY,
    [ItemPrice14] CURRENCY,
    [ItemPrice15] CURRENCY,
    [ItemPrice16] CURRENCY,
    [ItemPrice17] CURRENCY,
    [ItemPrice18] CURRENCY,
    [ItemPrice19] CURRENCY,
    [ItemPrice20] CURRENCY,
    [ItemPrice21] CURRENCY,
    [ItemPrice22] CURRENCY,
    [ItemPrice23] CURRENCY,
    [ItemPrice24] CURRENCY,
    [ItemPrice25] CURRENCY,
    [ItemPrice26] CURRENCY,
    [ItemPrice27] CURRENCY,
    [ItemPrice28] CURRENCY,
    [ItemPrice29] CURRENCY,
    [ItemPrice30] CURRENCY,
    [ItemPrice31] CURRENCY,
    [ItemPrice32] CURRENCY,
    [ItemPrice33] CURRENCY,
    [ItemPrice34] CURRENCY,
    [ItemPrice35] CURRENCY,
    [ItemPrice36] CURRENCY,
    [ItemPrice37] CURRENCY,
    [ItemPrice38] CURRENCY,
    [ItemPrice39] CURRENCY,
    [ItemPrice40] CURRENCY
);

CREATE TABLE [ItemCondition] (
    [ItemCondition1] TEXT,
    [ItemCondition2] TEXT,
    [ItemCondition3] TEXT,
    [ItemCondition4] TEXT,
    [ItemCondition5] TEXT,
    [ItemCondition6] TEXT,
    [ItemCondition7] TEXT,
    [ItemCondition8] TEXT,
    [ItemCondition9] TEXT,
    [ItemCondition10] TEXT,
    [ItemCondition11] TEXT,
    [ItemCondition12] TEXT,
    [ItemCondition13] TEXT,
    [ItemCondition14] TEXT,
    [ItemCondition15] TEXT,
    [ItemCondition16] TEXT,
    [ItemCondition17] TEXT,
    [ItemCondition18] TEXT,
    [ItemCondition19] TEXT,
    [ItemCondition20] TEXT,
    [ItemCondition21] TEXT,
    [ItemCondition22] TEXT,
    [ItemCondition23] TEXT,
    [ItemCondition24] TEXT,
    [ItemCondition25] TEXT,
    [ItemCondition26] TEXT,
    [ItemCondition27] TEXT,
    [ItemCondition28] TEXT,
    [ItemCondition29] TEXT,
    [ItemCondition30] TEXT,
    [ItemCondition31] TEXT,
    [ItemCondition32] TEXT,
    [ItemCondition33] TEXT,
    [ItemCondition34] TEXT,
    [ItemCondition35] TEXT,
    [ItemCondition36] TEXT,
    [ItemCondition37] TEXT,
    [ItemCondition38] TEXT,
    [ItemCondition39] TEXT,
    [ItemCondition40] TEXT
);

CREATE TABLE [ItemQty] (
    [ItemQty1] INTEGER,
    [ItemQty2] INTEGER,
    [ItemQty3] INTEGER,
    [ItemQty4] INTEGER,
    [ItemQty5] INTEGER,
    [ItemQty6] INTEGER,
    [ItemQty7] INTEGER,
    [ItemQty8] INTEGER,
    [ItemQty9] INTEGER,
    [ItemQty10] INTEGER,
    [ItemQty11] INTEGER,
    [ItemQty12] INTEGER,
    [ItemQty13] INTEGER,
    [ItemQty14] INTEGER,
    [ItemQty15] INTEGER,
    [ItemQty16] INTEGER,
    [ItemQty17] INTEGER,
    [ItemQty18] INTEGER,
    [ItemQty19] INTEGER,
    [ItemQty20] INTEGER,
    [ItemQty21] INTEGER,
    [ItemQty22] INTEGER,
    [ItemQty23] INTEGER,
    [ItemQty24] INTEGER,
    [ItemQty25] INTEGER,
    [ItemQty26] INTEGER,
    [ItemQty27] INTEGER,
    [ItemQty28] INTEGER,
    [ItemQty29] INTEGER,
    [ItemQty30] INTEGER,
    [ItemQty31] INTEGER,
    [ItemQty32] INTEGER,
    [ItemQty33] INTEGER,
    [ItemQty34] INTEGER,
    [ItemQty35] INTEGER,
    [ItemQty36] INTEGER,
    [ItemQty37] INTEGER,
    [ItemQty38] INTEGER,
    [ItemQty39] INTEGER,
    [ItemQty40] INTEGER
);

CREATE TABLE [ItemFactors] (
    [ItemFactor1] TEXT,
    [ItemFactor2] TEXT,
    [ItemFactor3] TEXT,
    [ItemFactor4] TEXT,
    [ItemFactor5] TEXT,
    [ItemFactor6] TEXT,
    [ItemFactor7] TEXT,
    [ItemFactor8] TEXT,
    [ItemFactor9] TEXT,
    [ItemFactor10] TEXT,
    [ItemFactor11] TEXT,
    [ItemFactor12] TEXT,
    [ItemFactor13] TEXT,
    [ItemFactor14] TEXT,
    [ItemFactor15] TEXT,
    [ItemFactor16] TEXT,
    [ItemFactor17] TEXT,
    [ItemFactor18] TEXT,
    [ItemFactor19] TEXT,
    [ItemFactor20] TEXT,
    [ItemFactor21] TEXT,
    [ItemFactor22] TEXT,
    [ItemFactor23] TEXT,
    [ItemFactor24] TEXT,
    [ItemFactor25] TEXT,
    [ItemFactor26] TEXT,
    [ItemFactor27] TEXT,
    [ItemFactor28] TEXT,
    [ItemFactor29] TEXT,
    [ItemFactor30] TEXT,
    [ItemFactor31] TEXT,
    [ItemFactor32] TEXT,
    [ItemFactor33] TEXT,
    [ItemFactor34] TEXT,
    [ItemFactor35] TEXT,
    [ItemFactor36] TEXT,
    [ItemFactor37] TEXT,
    [ItemFactor38] TEXT,
    [ItemFactor39] TEXT,
    [ItemFactor40] TEXT
);

CREATE TABLE [ItemDefault] (
    [ItemDefault1] BOOLEAN NOT NULL DEFAULT 0,
    [ItemDefault2] BOOLEAN NOT NULL DEFAULT 0,
    [ItemDefault3] BOOLEAN NOT NULL DEFAULT 0,
    [ItemDefault4] BOOLEAN NOT NULL DEFAULT 0,
    [ItemDefault5] BOOLEAN NOT NULL DEFAULT 0,
    [ItemDefault6] BOOLEAN NOT NULL DEFAULT 0,
    [ItemDefault7] BOOLEAN NOT NULL DEFAULT 0,
    [ItemDefault8] BOOLEAN NOT NULL DEFAULT 0,
    [ItemDefault9] BOOLEAN NOT NULL DEFAULT 0,
    [ItemDefault10] BOOLEAN NOT NULL DEFAULT 0,
    [ItemDefault11] BOOLEAN NOT NULL DEFAULT 0,
    [ItemDefault12] BOOLEAN NOT NULL DEFAULT 0,
    [ItemDefault13] BOOLEAN NOT NULL DEFAULT 0,
    [ItemDefault14] BOOLEAN NOT NULL DEFAULT 0,
    [ItemDefault15] BOOLEAN NOT NULL DEFAULT 0,
    [ItemDefault16] BOOLEAN NOT NULL DEFAULT 0,
    [ItemDefault17] BOOLEAN NOT NULL DEFAULT 0,
    [ItemDefault18] BOOLEAN NOT NULL DEFAULT 0,
    [ItemDefault19] BOOLEAN NOT NULL DEFAULT 0,
    [ItemDefault20] BOOLEAN NOT NULL DEFAULT 0,
    [ItemDefault21] BOOLEAN NOT NULL DEFAULT 0,
    [ItemDefault22] BOOLEAN NOT NULL DEFAULT 0,
    [ItemDefault23] BOOLEAN NOT NULL DEFAULT 0,
    [ItemDefault24] BOOLEAN NOT NULL DEFAULT 0,
    [ItemDefault25] BOOLEAN NOT NULL DEFAULT 0,
    [ItemDefault26] BOOLEAN NOT NULL DEFAULT 0,
    [ItemDefault27] BOOLEAN NOT NULL DEFAULT 0,
    [ItemDefault28] BOOLEAN NOT NULL DEFAULT 0,
    [ItemDefault29] BOOLEAN NOT NULL DEFAULT 0,
    [ItemDefault30] BOOLEAN NOT NULL DEFAULT 0,
    [ItemDefault31] BOOLEAN NOT NULL DEFAULT 0,
    [ItemDefault32] BOOLEAN NOT NULL DEFAULT 0,
    [ItemDefault33] BOOLEAN NOT NULL DEFAULT 0,
    [ItemDefault34] BOOLEAN NOT NULL DEFAULT 0,
    [ItemDefault35] BOOLEAN NOT NULL DEFAULT 0,
    [ItemDefault36] BOOLEAN NOT NULL DEFAULT 0,
    [ItemDefault37] BOOLEAN NOT NULL DEFAULT 0,
    [ItemDefault38] BOOLEAN NOT NULL DEFAULT 0,
    [ItemDefault39] BOOLEAN NOT NULL DEFAULT 0,
    [ItemDefault40] BOOLEAN NOT NULL DEFAULT 0
);

CREATE TABLE [SubItemLabel] (
    [RecordNo] INTEGER,
    [SubItemLabel1] TEXT,
    [SubItemLabel2] TEXT,
    [SubItemLabel3] TEXT,
    [SubItemLabel4] TEXT,
    [SubItemLabel5] TEXT,
    [SubItemLabel6] TEXT,
    [SubItemLabel7] TEXT,
    [SubItemLabel8] TEXT,
    [SubItemLabel9] TEXT,
    [SubItemLabel10] TEXT
);

CREATE INDEX [SubItemLabel RecordNo] ON [SubItemLabel] ([RecordNo]);

CREATE TABLE [SubItemName] (
    [RecordNo] INTEGER,
    [SubItemName1] TEXT,
    [SubItemName2] TEXT,
    [SubItemName3] TEXT,
    [SubItemName4] TEXT,
    [SubItemName5] TEXT,
    [SubItemName6] TEXT,
    [SubItemName7] TEXT,
    [SubItemName8] TEXT,
    [SubItemName9] TEXT,
    [SubItemName10] TEXT
);

CREATE INDEX [SubItemName RecordNo] ON [SubItemName] ([RecordNo]);

CREATE TABLE [SubItemCategory] (
    [RecordNo] INTEGER,
    [SubItemCategory1] TEXT,
    [SubItemCategory2] TEXT,
    [SubItemCategory3] TEXT,
    [SubItemCategory4] TEXT,
    [SubItemCategory5] TEXT,
    [SubItemCategory6] TEXT,
    [SubItemCategory7] TEXT,
    [SubItemCategory8] TEXT,
    [SubItemCategory9] TEXT,
    [SubItemCategory10] TEXT
);

CREATE INDEX [SubItemCategory RecordNo] ON [SubItemCategory] ([RecordNo]);

CREATE TABLE [SubItemSchedule] (
    [RecordNo] INTEGER,
    [SubItemSchedule1] TEXT,
    [SubItemSchedule2] TEXT,
    [SubItemSchedule3] TEXT,
    [SubItemSchedule4] TEXT,
    [SubItemSchedule5] TEXT,
    [SubItemSchedule6] TEXT,
    [SubItemSchedule7] TEXT,
    [SubItemSchedule8] TEXT,
    [SubItemSchedule9] TEXT,
    [SubItemSchedule10] TEXT
);

CREATE INDEX [SubItemSchedule RecordNo] ON [SubItemSchedule] ([RecordNo]);

CREATE TABLE [SubItemNotes] (
    [RecordNo] INTEGER,
    [SubItemNotes1] MEMO,
    [SubItemNotes2] MEMO,
    [SubItemNotes3] MEMO,
    [SubItemNotes4] MEMO,
    [SubItemNotes5] MEMO,
    [SubItemNotes6] MEMO,
    [SubItemNotes7] MEMO,
    [SubItemNotes8] MEMO,
    [SubItemNotes9] MEMO,
    [SubItemNotes10] MEMO
);

CREATE INDEX [SubItemNotes RecordNo] ON [SubItemNotes] ([RecordNo]);

CREATE TABLE [SubItemPrice] (
    [RecordNo] INTEGER,
    [SubItemPrice1] CURRENCY,
    [SubItemPrice2] CURRENCY,
    [SubItemPrice3] CURRENCY,
    [SubItemPrice4] CURRENCY,
    [SubItemPrice5] CURRENCY,
    [SubItemPrice6] CURRENCY,
    [SubItemPrice7] CURRENCY,
    [SubItemPrice8] CURRENCY,
    [SubItemPrice9] CURRENCY,
    [SubItemPrice10] CURRENCY
);

CREATE INDEX [SubItemPrice RecordNo] ON [SubItemPrice] ([RecordNo]);

CREATE TABLE [SubItemCondition] (
    [RecordNo] INTEGER,
    [SubItemCondition1] TEXT,
    [SubItemCondition2] TEXT,
    [SubItemCondition3] TEXT,
    [SubItemCondition4] TEXT,
    [SubItemCondition5] TEXT,
    [SubItemCondition6] TEXT,
    [SubItemCondition7] TEXT,
    [SubItemCondition8] TEXT,
    [SubItemCondition9] TEXT,
    [SubItemCondition10] TEXT
);

CREATE INDEX [SubItemCondition RecordNo] ON [SubItemCondition] ([RecordNo]);

CREATE TABLE [SubItemQty] (
    [RecordNo] INTEGER,
    [SubItemQty1] INTEGER,
    [SubItemQty2] INTEGER,
    [SubItemQty3] INTEGER,
    [SubItemQty4] INTEGER,
    [SubItemQty5] INTEGER,
    [SubItemQty6] INTEGER,
    [SubItemQty7] INTEGER,
    [SubItemQty8] INTEGER,
    [SubItemQty9] INTEGER,
    [SubItemQty10] INTEGER
);

CREATE INDEX [SubItemQty RecordNo] ON [SubItemQty] ([RecordNo]);

CREATE TABLE [SubItemFactors] (
    [RecordNo] INTEGER,
    [SubItemFactor1] TEXT,
    [SubItemFactor2] TEXT,
    [SubItemFactor3] TEXT,
    [SubItemFactor4] TEXT,
    [SubItemFactor5] TEXT,
    [SubItemFactor6] TEXT,
    [SubItemFactor7] TEXT,
    [SubItemFactor8] TEXT,
    [SubItemFactor9] TEXT,
    [SubItemFactor10] TEXT
);

CREATE INDEX [SubItemFactors RecordNo] ON [SubItemFactors] ([RecordNo]);

CREATE TABLE [SubItemDefault] (
    [RecordNo] INTEGER,
    [SubItemDefault1] BOOLEAN NOT NULL DEFAULT 0,
    [SubItemDefault2] BOOLEAN NOT NULL DEFAULT 0,
    [SubItemDefault3] BOOLEAN NOT NULL DEFAULT 0,
    [SubItemDefault4] BOOLEAN NOT NULL DEFAULT 0,
    [SubItemDefault5] BOOLEAN NOT NULL DEFAULT 0,
    [SubItemDefault6] BOOLEAN NOT NULL DEFAULT 0,
    [SubItemDefault7] BOOLEAN NOT NULL DEFAULT 0,
    [SubItemDefault8] BOOLEAN NOT NULL DEFAULT 0,
    [SubItemDefault9] BOOLEAN NOT NULL DEFAULT 0,
    [SubItemDefault10] BOOLEAN NOT NULL DEFAULT 0
);

CREATE INDEX [SubItemDefault RecordNo] ON [SubItemDefault] ([RecordNo]);


-- Required rows: one-row tables, the ten templates, the catalog row and the 40 sub-item rows.

INSERT INTO [Your Information] DEFAULT VALUES;
INSERT INTO [Factors] DEFAULT VALUES;
INSERT INTO [LogoData] DEFAULT VALUES;

WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 10)
INSERT INTO [UserData] ([RecordNo], [UserLabel]) SELECT i, '' FROM n;

INSERT INTO [ItemLabel] DEFAULT VALUES;

INSERT INTO [ItemName] DEFAULT VALUES;

INSERT INTO [ItemCategory] DEFAULT VALUES;

INSERT INTO [ItemSchedule] DEFAULT VALUES;

INSERT INTO [ItemNote] DEFAULT VALUES;

INSERT INTO [ItemPrice] DEFAULT VALUES;

INSERT INTO [ItemCondition] DEFAULT VALUES;

INSERT INTO [ItemQty] DEFAULT VALUES;

INSERT INTO [ItemFactors] DEFAULT VALUES;

INSERT INTO [ItemDefault] DEFAULT VALUES;

WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 40)
INSERT INTO [SubItemLabel] ([RecordNo]) SELECT i FROM n;

WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 40)
INSERT INTO [SubItemName] ([RecordNo]) SELECT i FROM n;

WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 40)
INSERT INTO [SubItemCategory] ([RecordNo]) SELECT i FROM n;

WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 40)
INSERT INTO [SubItemSchedule] ([RecordNo]) SELECT i FROM n;

WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 40)
INSERT INTO [SubItemNotes] ([RecordNo]) SELECT i FROM n;

WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 40)
INSERT INTO [SubItemPrice] ([RecordNo]) SELECT i FROM n;

WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 40)
INSERT INTO [SubItemCondition] ([RecordNo]) SELECT i FROM n;

WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 40)
INSERT INTO [SubItemQty] ([RecordNo]) SELECT i FROM n;

WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 40)
INSERT INTO [SubItemFactors] ([RecordNo]) SELECT i FROM n;

WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 40)
INSERT INTO [SubItemDefault] ([RecordNo]) SELECT i FROM n;

UPDATE [SubItemLabel] SET [SubItemLabel1] = '', [SubItemLabel2] = '', [SubItemLabel3] = '', [SubItemLabel4] = '', [SubItemLabel5] = '', [SubItemLabel6] = '', [SubItemLabel7] = '', [SubItemLabel8] = '', [SubItemLabel9] = '', [SubItemLabel10] = '';

UPDATE [ItemLabel] SET [ItemLabel1] = '', [ItemLabel2] = '', [ItemLabel3] = '', [ItemLabel4] = '', [ItemLabel5] = '', [ItemLabel6] = '', [ItemLabel7] = '', [ItemLabel8] = '', [ItemLabel9] = '', [ItemLabel10] = '', [ItemLabel11] = '', [ItemLabel12] = '', [ItemLabel13] = '', [ItemLabel14] = '', [ItemLabel15] = '', [ItemLabel16] = '', [ItemLabel17] = '', [ItemLabel18] = '', [ItemLabel19] = '', [ItemLabel20] = '', [ItemLabel21] = '', [ItemLabel22] = '', [ItemLabel23] = '', [ItemLabel24] = '', [ItemLabel25] = '', [ItemLabel26] = '', [ItemLabel27] = '', [ItemLabel28] = '', [ItemLabel29] = '', [ItemLabel30] = '', [ItemLabel31] = '', [ItemLabel32] = '', [ItemLabel33] = '', [ItemLabel34] = '', [ItemLabel35] = '', [ItemLabel36] = '', [ItemLabel37] = '', [ItemLabel38] = '', [ItemLabel39] = '', [ItemLabel40] = '';


-- The twenty template copies, made the way a template save makes them.

CREATE TABLE [UserItemDefault1] AS SELECT ItemDefault.* FROM ItemDefault;

CREATE TABLE [UserItemDefault2] AS SELECT ItemDefault.* FROM ItemDefault;

CREATE TABLE [UserItemDefault3] AS SELECT ItemDefault.* FROM ItemDefault;

CREATE TABLE [UserItemDefault4] AS SELECT ItemDefault.* FROM ItemDefault;

CREATE TABLE [UserItemDefault5] AS SELECT ItemDefault.* FROM ItemDefault;

CREATE TABLE [UserItemDefault6] AS SELECT ItemDefault.* FROM ItemDefault;

CREATE TABLE [UserItemDefault7] AS SELECT ItemDefault.* FROM ItemDefault;

CREATE TABLE [UserItemDefault8] AS SELECT ItemDefault.* FROM ItemDefault;

CREATE TABLE [UserItemDefault9] AS SELECT ItemDefault.* FROM ItemDefault;

CREATE TABLE [UserItemDefault10] AS SELECT ItemDefault.* FROM ItemDefault;

CREATE TABLE [UserSubItemDefault1] AS SELECT SubItemDefault.* FROM SubItemDefault;

CREATE TABLE [UserSubItemDefault2] AS SELECT SubItemDefault.* FROM SubItemDefault;

CREATE TABLE [UserSubItemDefault3] AS SELECT SubItemDefault.* FROM SubItemDefault;

CREATE TABLE [UserSubItemDefault4] AS SELECT SubItemDefault.* FROM SubItemDefault;

CREATE TABLE [UserSubItemDefault5] AS SELECT SubItemDefault.* FROM SubItemDefault;

CREATE TABLE [UserSubItemDefault6] AS SELECT SubItemDefault.* FROM SubItemDefault;

CREATE TABLE [UserSubItemDefault7] AS SELECT SubItemDefault.* FROM SubItemDefault;

CREATE TABLE [UserSubItemDefault8] AS SELECT SubItemDefault.* FROM SubItemDefault;

CREATE TABLE [UserSubItemDefault9] AS SELECT SubItemDefault.* FROM SubItemDefault;

CREATE TABLE [UserSubItemDefault10] AS SELECT SubItemDefault.* FROM SubItemDefault;
